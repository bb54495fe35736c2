#!/usr/bin/env bash
# The whole-process figures of the program, the only ones that count for its
# speed: a process starts, faults in fresh pages, writes and ends, which no
# in-process benchmark sees (bench/run.sh prints those, for the phases).
#
# For the default run and for the compile of the largest scenario
# (bench_make_max, 1,000,000 m) it prints the median wall time, the ratio to
# a cp of the same output files into an emptied folder, and the peak memory
# (/usr/bin/time -f %M), two ways: the program rerun in its folder, replacing
# the files of the run before as an author's rerun does, and the program
# run into an emptied folder. The program and cp take turns in interleaved
# pairs, so both see the same load; the load average is printed before and
# after.
# Then the compile's time and peak memory at route lengths 10 to 1,000 km.
#
# Environment: PAIRS (interleaved pairs, default 41), BUILD_DIR (a release
# build folder holding scenario_gen and bench/bench_make_max; default: the
# preset's build/, built here first).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh

pairs=${PAIRS:-41}
source bench/release_build.sh
exe=$(realpath "$build/scenario_gen")
make_max=$(realpath "$build/bench/bench_make_max")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

machine_and_load before

# run_pairs NAME WAY FOLDER CMD...: PAIRS interleaved pairs of CMD, run in
# FOLDER, and a cp of the files it leaves there into an emptied folder;
# prints the figures. WAY "emptied": FOLDER is emptied of all but the
# executable before each run; "rerun": each run replaces the files of the
# run before, as an author's rerun does (an untimed run goes first).
run_pairs() {
  local name=$1 way=$2 folder=$3
  shift 3
  local copy=$scratch/copy log=$scratch/$name
  mkdir -p "$copy"
  : >"$log.prog"
  : >"$log.cp"
  local made=()
  find "$folder" -maxdepth 1 -type f ! -name scenario_gen -delete
  if [[ $way == rerun ]]; then
    (cd "$folder" && timed "$log.first" "$@")
  fi
  for ((i = 0; i < pairs; ++i)); do
    if [[ $way == emptied ]]; then
      find "$folder" -maxdepth 1 -type f ! -name scenario_gen -delete
    fi
    (cd "$folder" && timed "$log.prog" "$@")
    if ((${#made[@]} == 0)); then
      mapfile -t made < <(find "$folder" -maxdepth 1 -type f ! -name scenario_gen | sort)
    fi
    rm -f "$copy"/*
    timed "$log.cp" cp "${made[@]}" "$copy/"
  done
  local bytes
  bytes=$(cat "${made[@]}" | wc -c)
  local p c k
  p=$(cut -d' ' -f1 "$log.prog" | median)
  c=$(cut -d' ' -f1 "$log.cp" | median)
  k=$(cut -d' ' -f2 "$log.prog" | median)
  awk -v n="$name" -v p="$p" -v c="$c" -v k="$k" -v f="${#made[@]}" -v b="$bytes" 'BEGIN {
    printf "%-24s %8.2f ms   cp of its %d files (%d bytes) %6.2f ms   ratio %5.2f   peak %6.0f KB\n", n, p, f, b, c, p / c, k }'
  echo "$p $c $k" >"$log.summary"
}

# The default run writes next to its executable, so it runs from a copy. With
# no display variable it takes the terminal display, as on a machine without
# a desktop; the window's own time is not measured here.
unset DISPLAY
mkdir -p "$scratch/default" "$scratch/max" "$scratch/max-out"
cp "$exe" "$scratch/default/"
"$make_max" "$scratch/max" >/dev/null
for way in rerun emptied; do
  echo
  if [[ $way == rerun ]]; then
    echo "== whole process, rerun in its folder (replacing its files), median of $pairs interleaved pairs with cp into an emptied folder"
  else
    echo "== whole process, into an emptied folder, median of $pairs interleaved pairs with cp into an emptied folder"
  fi
  run_pairs "default-$way" "$way" "$scratch/default" ./scenario_gen -q
  run_pairs "largest-$way" "$way" "$scratch/max-out" "$exe" compile "$scratch/max/Max_linea.txt" \
    "$scratch/max/Max_1-.txt" -o . --line-name Max --train-number 1
done

echo
echo "== against the goals"
for way in rerun emptied; do
  read -r dp dc _ <"$scratch/default-$way.summary"
  read -r mp mc mk <"$scratch/largest-$way.summary"
  awk -v w="$way" -v dp="$dp" -v dc="$dc" -v mp="$mp" -v mc="$mc" -v mk="$mk" 'BEGIN {
    r = dp / dc; printf "%-8s default run / cp:        %5.2f x  (goal at most 1.3 x: %s)\n", w, r, r <= 1.3 ? "met" : "NOT met"
    r = mp / mc; printf "%-8s largest compile / cp:    %5.2f x  (goal at most 1.5 x: %s)\n", w, r, r <= 1.5 ? "met" : "NOT met"
    m = mk / 1024; printf "%-8s largest compile peak:    %5.2f MB (goal at most 8 MB: %s)\n", w, m, m <= 8 ? "met" : "NOT met"
  }'
done

echo
echo "== scaling: the compile at each route length (median of 11 runs)"
# The largest scenario's descriptions, cut to a shorter route.
for km in 10 100 300 1000; do
  dir=$scratch/scale-$km
  bench/scaled_scenario.sh "$scratch/max" "$km" "$dir"
  mkdir -p "$dir/out"
  : >"$dir/log"
  for ((i = 0; i < 11; ++i)); do
    rm -f "$dir/out"/*
    timed "$dir/log" "$exe" compile "$dir/Max_linea.txt" "$dir/Max_1-.txt" -o "$dir/out" \
      --line-name Max --train-number 1
  done
  printf "%5d km   %7.2f ms   peak %6.0f KB   output %9d bytes\n" "$km" \
    "$(cut -d' ' -f1 "$dir/log" | median)" "$(cut -d' ' -f2 "$dir/log" | median)" \
    "$(cat "$dir/out"/* | wc -c)"
done
machine_and_load after
