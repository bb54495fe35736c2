#!/usr/bin/env bash
# Builds the release preset and prints the speed and memory figures of the
# default run and of the largest scenario an author may describe:
#   1. the in-process benchmarks, for the phases only (median and spread
#      over repetitions): after their first iteration the allocator reuses
#      pages already faulted in, so they undercount what a real process
#      pays; only whole-process figures count for this program;
#   2. the whole-process figures of bench/whole_process.sh: the default run
#      and the largest compile against cp of their files, their peak
#      memory, and the compile at route lengths from 10 to 1,000 km.
# Run it on a quiet machine: the load average is printed before and after.
#
# Environment: PAIRS (whole-process pairs, default 41), REPS (benchmark
# repetitions, default 10), MIN_TIME (seconds per benchmark repetition,
# default 0.2), BUILD_DIR (build in this folder, configured as a release
# build, instead of the preset's build/).
set -euo pipefail
cd "$(dirname "$0")/.."

reps=${REPS:-10}
min_time=${MIN_TIME:-0.2}

targets=(scenario_gen scenario_bench bench_make_max)
if [[ -n ${BUILD_DIR:-} ]]; then
  build=$BUILD_DIR
  echo "== build (release, $build/)"
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
else
  build=build
  echo "== build (release preset 'default', build/)"
  cmake --preset default >/dev/null
fi
if ! grep -q '^benchmark_DIR:PATH=/' "$build/CMakeCache.txt"; then
  echo "bench/run.sh: error: Google Benchmark not found (Debian: libbenchmark-dev)" >&2
  exit 2
fi
if [[ -n ${BUILD_DIR:-} ]]; then
  cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
else
  cmake --build --preset default --target "${targets[@]}" >/dev/null
fi

echo
echo "== benchmarks (in process, for the phases only; $reps repetitions of at least ${min_time}s each)"
"$build/bench/scenario_bench" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_min_time="$min_time" 2>/dev/null |
  awk '/^Benchmark|^---/ || /_(median|stddev|min|max) /'

echo
BUILD_DIR=$build exec bench/whole_process.sh
