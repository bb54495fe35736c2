#!/usr/bin/env bash
# The whole-process figures of the program, the only ones that count for its
# speed: a process starts, faults in fresh pages, writes and ends, which no
# in-process benchmark sees (bench/run.sh prints those, for the phases).
#
# For the default run and for the compile of the largest scenario
# (bench_make_max, 1,000,000 m) it prints the median wall time, the ratio to
# a cp of the same output files into an emptied folder, and the peak memory
# (/usr/bin/time -f %M). The program and cp take turns in interleaved pairs,
# so both see the same load; the load average is printed before and after.
# Then the compile's time and peak memory at route lengths 10 to 1,000 km.
#
# Environment: PAIRS (interleaved pairs, default 41), BUILD_DIR (a release
# build folder holding scenario_gen and bench/bench_make_max; default: the
# preset's build/, built here first).
set -euo pipefail
cd "$(dirname "$0")/.."

pairs=${PAIRS:-41}
if [[ ! -x /usr/bin/time ]]; then
  echo "bench/whole_process.sh: error: /usr/bin/time is missing (Debian: time)" >&2
  exit 2
fi
if [[ -n ${BUILD_DIR:-} ]]; then
  build=$BUILD_DIR
else
  build=build
  cmake --preset default >/dev/null
  cmake --build --preset default --target scenario_gen bench_make_max >/dev/null
fi
exe=$(realpath "$build/scenario_gen")
make_max=$(realpath "$build/bench/bench_make_max")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "== machine"
echo "cpu:   $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) before"

# Prints the median of the numbers on stdin.
median() {
  sort -g | awk '{ v[NR] = $1 } END { printf "%.3f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# timed LOG CMD...: runs CMD, appending "WALL_MS PEAK_KB" to LOG; fails when
# CMD does (exit status 1, a pending compile fault, counts as done).
timed() {
  local log=$1 t0 t1 status=0
  shift
  t0=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$log.kb" "$@" >/dev/null 2>"$log.err" || status=$?
  t1=$EPOCHREALTIME
  if ((status > 1)); then
    echo "bench/whole_process.sh: error: $* failed:" >&2
    cat "$log.err" >&2
    exit 1
  fi
  awk -v a="$t0" -v b="$t1" -v k="$(tail -n 1 "$log.kb")" 'BEGIN { printf "%.3f %d\n", (b - a) * 1000, k }' >>"$log"
}

# pairs NAME FOLDER CMD...: PAIRS interleaved pairs of CMD, run in FOLDER,
# and a cp of the files it leaves there into an emptied folder; prints the
# figures. FOLDER is emptied of all but what the setup put (KEEP) first.
run_pairs() {
  local name=$1 folder=$2
  shift 2
  local copy=$scratch/copy log=$scratch/$name
  mkdir -p "$copy"
  : >"$log.prog"
  : >"$log.cp"
  local made=()
  for ((i = 0; i < pairs; ++i)); do
    find "$folder" -maxdepth 1 -type f ! -name scenario_gen -delete
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
    printf "%-16s %8.2f ms   cp of its %d files (%d bytes) %6.2f ms   ratio %5.2f   peak %6.0f KB\n", n, p, f, b, c, p / c, k }'
  echo "$p $c $k" >"$log.summary"
}

echo
echo "== whole process, median of $pairs interleaved pairs with cp into an emptied folder"
# The default run writes next to its executable, so it runs from a copy. With
# no display variable it takes the terminal display, as on a machine without
# a desktop; the window's own time is not measured here.
unset DISPLAY
mkdir -p "$scratch/default"
cp "$exe" "$scratch/default/"
run_pairs default "$scratch/default" ./scenario_gen -q

mkdir -p "$scratch/max"
"$make_max" "$scratch/max" >/dev/null
mkdir -p "$scratch/max-out"
run_pairs largest "$scratch/max-out" "$exe" compile "$scratch/max/Max_linea.txt" \
  "$scratch/max/Max_1-.txt" -o . --line-name Max --train-number 1

echo
echo "== against the goals"
read -r dp dc _ <"$scratch/default.summary"
read -r mp mc mk <"$scratch/largest.summary"
awk -v dp="$dp" -v dc="$dc" -v mp="$mp" -v mc="$mc" -v mk="$mk" 'BEGIN {
  r = dp / dc; printf "default run / cp:        %5.2f x  (goal at most 1.3 x: %s)\n", r, r <= 1.3 ? "met" : "NOT met"
  r = mp / mc; printf "largest compile / cp:    %5.2f x  (goal at most 1.5 x: %s)\n", r, r <= 1.5 ? "met" : "NOT met"
  m = mk / 1024; printf "largest compile peak:    %5.2f MB (goal at most 8 MB: %s)\n", m, m <= 8 ? "met" : "NOT met"
}'

echo
echo "== scaling: the compile at each route length (median of 11 runs)"
# The largest scenario's descriptions, cut to a shorter route: the route
# length record is set, and records past its end are left for the compile
# to stop at, as an author's would be.
for km in 10 100 300 1000; do
  dir=$scratch/scale-$km
  mkdir -p "$dir/out"
  sed "s/^\(lunghezza percorso, *\)[0-9]*/\1$((km * 1000))/" "$scratch/max/Max_linea.txt" \
    | awk -v end=$((km * 1000)) -F', *' '
      /^\[/ || NF < 2 || $2 !~ /^[0-9]+$/ || $1 ~ /lunghezza|progressiva|sfondo|ripetizione/ { print; next }
      $2 + 0 <= end - 200 { print }' >"$dir/Max_linea.txt"
  awk -v end=$((km * 1000)) -F', *' '
      /^\[/ || NF < 2 || $2 !~ /^[0-9]+$/ { print; next }
      $2 + 0 <= end - 200 { print }' "$scratch/max/Max_1-.txt" >"$dir/Max_1-.txt"
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
echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) after"
