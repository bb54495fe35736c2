#!/usr/bin/env bash
# The whole-process time and peak memory of check, decompile and draw, with
# compile (with and without the plan) for reference, on the largest scenario
# cut to routes of 10, 100, 300 and 1,000 km: one table per build, the
# median wall time (ms) and the median peak resident memory (MB) of RUNS runs
# of each command. decompile and draw read the files that compile wrote;
# compile replaces its files in its folder, as an author's rerun does.
#
#   bench/commands.sh [BUILD_DIR...]
#
# Each BUILD_DIR is a release build folder holding scenario_gen and
# bench/bench_make_max (default: the preset's build/, built here first).
# With several, the runs of each command alternate between them, so that
# every build sees the same load: the way to compare an older build with a
# newer one. The load average is printed before and after.
#
# Environment: RUNS (runs per command and build, default 11), KMS (route
# lengths in km, default "10 100 300 1000").
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh

runs=${RUNS:-11}
kms=${KMS:-10 100 300 1000}
builds=("$@")
if ((${#builds[@]} == 0)); then
  builds=(build)
  cmake --preset default >/dev/null
  cmake --build --preset default --target scenario_gen bench_make_max >/dev/null
fi
exes=()
for b in "${builds[@]}"; do
  if [[ ! -x $b/scenario_gen ]]; then
    echo "bench/commands.sh: error: no scenario_gen in '$b'" >&2
    exit 2
  fi
  exes+=("$(realpath "$b/scenario_gen")")
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset DISPLAY

machine_and_load before

mkdir -p "$scratch/max"
"$(dirname "${exes[0]}")/bench/bench_make_max" "$scratch/max" >/dev/null

commands=(compile no-plan check decompile draw)
for km in $kms; do
  dir=$scratch/$km
  bench/scaled_scenario.sh "$scratch/max" "$km" "$dir"
  names=(--line-name Max --train-number 1)
  # The files decompile and draw read, from the first build.
  "${exes[0]}" compile "$dir/Max_linea.txt" "$dir/Max_1-.txt" -o "$dir/files" "${names[@]}" \
    >/dev/null 2>&1 || true
  for ((i = 0; i < runs; ++i)); do
    for c in "${commands[@]}"; do
      for ((b = 0; b < ${#exes[@]}; ++b)); do
        exe=${exes[$b]} out=$dir/out-$b log=$dir/log-$b-$c
        mkdir -p "$out"
        case $c in
          compile) timed "$log" "$exe" compile "$dir/Max_linea.txt" "$dir/Max_1-.txt" -o "$out" "${names[@]}" ;;
          no-plan) timed "$log" "$exe" compile "$dir/Max_linea.txt" "$dir/Max_1-.txt" -o "$out" "${names[@]}" --no-plan ;;
          check) timed "$log" "$exe" check "$dir/Max_linea.txt" "$dir/Max_1-.txt" "${names[@]}" ;;
          decompile) timed "$log" "$exe" decompile "$dir/files" -o "$out/descriptions" --force ;;
          draw) timed "$log" "$exe" draw "$dir/files" -o "$out/picture.svg" ;;
        esac
      done
    done
  done
done

for ((b = 0; b < ${#exes[@]}; ++b)); do
  echo
  echo "== ${builds[$b]}: median of $runs runs, wall ms / peak MB"
  printf "%7s" "route"
  for c in "${commands[@]}"; do printf " %17s" "$c"; done
  echo
  for km in $kms; do
    printf "%4d km" "$km"
    for c in "${commands[@]}"; do
      log=$scratch/$km/log-$b-$c
      printf " %8.2f / %6.2f" "$(cut -d' ' -f1 "$log" | median)" \
        "$(cut -d' ' -f2 "$log" | median | awk '{ print $1 / 1024 }')"
    done
    echo
  done
done
echo
machine_and_load after
