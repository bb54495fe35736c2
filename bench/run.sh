#!/usr/bin/env bash
# Builds the release preset and prints the speed and memory figures of the
# default run and of the largest scenario an author may describe:
#   1. the benchmarks (median and spread over repetitions);
#   2. the default run as a whole process: wall time and peak memory;
#   3. the largest scenario through a compile, as a whole process, side by
#      side with a plain cp of the files it writes.
# Wall times come from the shell's clock around each process, peak memory
# from /usr/bin/time -v; both are taken over RUNS runs. Run it on a quiet
# machine: the load average is printed before and after.
#
# Environment: RUNS (whole-process runs, default 21), REPS (benchmark
# repetitions, default 10), MIN_TIME (seconds per benchmark repetition,
# default 0.2), BUILD_DIR (build in this folder, configured as a release
# build, instead of the preset's build/).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-21}
reps=${REPS:-10}
min_time=${MIN_TIME:-0.2}

if [[ ! -x /usr/bin/time ]]; then
  echo "bench/run.sh: error: /usr/bin/time is missing (Debian: time)" >&2
  exit 2
fi

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
echo "== machine"
echo "cpu:   $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) before"

scratch=$build/bench-run
rm -rf "$scratch"
mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT

# Prints "median min max" of the numbers on stdin.
stats() {
  sort -g | awk '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.2f %.2f %.2f\n", m, v[1], v[NR] }'
}

# timed LOG CMD...: runs CMD under /usr/bin/time -v (its own output goes to
# LOG.out and LOG.err) and appends "WALL_MS PEAK_KB STATUS" to LOG.
timed() {
  local log=$1
  shift
  local t0 t1 status=0
  t0=$EPOCHREALTIME
  /usr/bin/time -v -o "$log.time" "$@" >"$log.out" 2>"$log.err" || status=$?
  t1=$EPOCHREALTIME
  local peak
  peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log.time")
  awk -v a="$t0" -v b="$t1" -v p="$peak" -v s="$status" \
    'BEGIN { printf "%.3f %d %d\n", (b - a) * 1000, p, s }' >>"$log"
}

# report NAME LOG: one line of wall time and peak memory figures.
report() {
  local name=$1 log=$2
  read -r wm wmin wmax < <(cut -d' ' -f1 "$log" | stats)
  read -r pm pmin pmax < <(cut -d' ' -f2 "$log" | stats)
  printf "%-26s wall %8.2f ms median (min %.2f, max %.2f)   peak RSS %6.0f KB median (min %.0f, max %.0f)\n" \
    "$name" "$wm" "$wmin" "$wmax" "$pm" "$pmin" "$pmax"
}

median_of() { cut -d' ' -f"$2" "$1" | stats | cut -d' ' -f1; }

echo
echo "== benchmarks (in process; $reps repetitions of at least ${min_time}s each)"
"$build/bench/scenario_bench" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_min_time="$min_time" 2>/dev/null |
  awk '/^Benchmark|^---/ || /_(median|stddev|min|max) /'

echo
echo "== whole process, $runs runs each"
# The floor: what starting a process under /usr/bin/time costs by itself.
for _ in $(seq "$runs"); do timed "$scratch/true.log" /bin/true; done
report "/bin/true (floor)" "$scratch/true.log"

# The default run writes next to its executable, so it runs from a copy. With
# no display variable every run takes the terminal display, as on a machine
# without a desktop; the window's own time is not measured here.
unset DISPLAY
mkdir -p "$scratch/default"
cp "$build/scenario_gen" "$scratch/default/"
for _ in $(seq "$runs"); do
  timed "$scratch/default.log" "$scratch/default/scenario_gen"
done
if awk '$3 != 0 { bad = 1 } END { exit !bad }' "$scratch/default.log"; then
  echo "bench/run.sh: error: the default run failed:" >&2
  cat "$scratch/default.log.err" >&2
  exit 1
fi
report "default run" "$scratch/default.log"

# The largest scenario: bench_make_max writes it and fails unless it
# compiles without a fault.
max_src=$scratch/max
max_out=$scratch/max-out
cp_out=$scratch/cp-out
mkdir -p "$max_src" "$max_out" "$cp_out"
"$build/bench/bench_make_max" "$max_src"

compile_cmd=("$build/scenario_gen" compile "$max_src/Max_linea.txt" "$max_src/Max_1-.txt"
  -o "$max_out" --line-name Max --train-number 1)
compiler="scenario_gen compile"
if ! "${compile_cmd[@]}" >"$scratch/probe.out" 2>"$scratch/probe.err"; then
  echo "bench/run.sh: error: the compile of the largest scenario failed:" >&2
  cat "$scratch/probe.err" >&2
  exit 1
fi

# Compile and cp take turns, so both see the same load; each starts with an
# empty output folder.
for _ in $(seq "$runs"); do
  rm -f "$max_out"/*
  timed "$scratch/compile.log" "${compile_cmd[@]}"
  rm -f "$cp_out"/*
  timed "$scratch/cp.log" cp "$max_out"/Max_linea.dat "$max_out"/Max_1.sim "$max_out"/Max_1.dat \
    "$cp_out/"
done
for step in compile cp; do
  if awk '$3 != 0 { bad = 1 } END { exit !bad }' "$scratch/$step.log"; then
    echo "bench/run.sh: error: a $step of the largest scenario failed:" >&2
    cat "$scratch/$step.log.err" >&2
    exit 1
  fi
done
out_bytes=$(cat "$max_out"/Max_linea.dat "$max_out"/Max_1.sim "$max_out"/Max_1.dat | wc -c)
echo "largest scenario: compiled by $compiler; outputs $out_bytes bytes"
report "largest: compile + write" "$scratch/compile.log"
report "largest: cp of its outputs" "$scratch/cp.log"

echo
echo "== against the targets"
compile_ms=$(median_of "$scratch/compile.log" 1)
cp_ms=$(median_of "$scratch/cp.log" 1)
compile_kb=$(median_of "$scratch/compile.log" 2)
default_ms=$(median_of "$scratch/default.log" 1)
floor_ms=$(median_of "$scratch/true.log" 1)
# The whole-process target is the program's own time: /usr/bin/time's start
# of a process (the floor, measured on /bin/true) is taken off.
awk -v c="$compile_ms" -v p="$cp_ms" -v k="$compile_kb" -v o="$out_bytes" -v d="$default_ms" -v f="$floor_ms" 'BEGIN {
  r = c / p; m = k * 1024 / o
  printf "largest compile + write / cp:     %5.2f x   (target below 2x: %s)\n", r, r < 2 ? "met" : "NOT met"
  printf "largest compile peak RSS / output: %5.2f x   (target below 3x: %s)\n", m, m < 3 ? "met" : "NOT met"
  printf "default run, whole process:      %7.2f ms  (%.2f ms with the floor; target below 10 ms median: %s)\n", d - f, d, d - f < 10 ? "met" : "NOT met"
}'
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after"
