#!/usr/bin/env bash
# How check's time grows with the number of diagnostics: a line
# description whose text boards stand two by two on one cell (every second
# board is a fault, with a note at the first), checked with 2,000 and
# 16,000 faulty boards, and a description of just under 16 MB (the largest
# read) whose boards fill the route and then keep landing on taken cells,
# a fault on nearly every record. Linear growth makes the second time 8
# times the first; the goal is within 12 times, and the 16 MB check under
# 5 s. Every diagnostic is still printed (to /dev/null), as the figures
# would mean nothing otherwise. Prints the median wall time and peak memory
# of RUNS runs (default 5) each, and the load average before and after.
#
# Environment: RUNS, BUILD_DIR (a release build folder holding scenario_gen;
# default: the preset's build/, built here first).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/timing.sh

runs=${RUNS:-5}
if [[ -n ${BUILD_DIR:-} ]]; then
  build=$BUILD_DIR
else
  build=build
  cmake --preset default >/dev/null
  cmake --build --preset default --target scenario_gen >/dev/null
fi
exe=$(realpath "$build/scenario_gen")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# faulty_boards FILE PAIRS MAX_BYTES: a line description of PAIRS pairs of
# boards, each pair on one cell, cells from 1000 m on, wrapping round
# before the route's end; it stops before MAX_BYTES.
faulty_boards() {
  awk -v pairs="$2" -v max="$3" 'BEGIN {
    head = "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\n"
    printf "%s", head
    size = length(head) + 8
    for (i = 0; i < pairs; i++) {
      at = 1000 + 50 * (i % 19000)
      rec = sprintf("cartello indicatore, %d, BORGO\r\n", at)
      if (size + 2 * length(rec) > max) break
      printf "%s%s", rec, rec
      size += 2 * length(rec)
    }
    printf "[fine]\r\n"
  }' >"$1"
}

printf '[generale]\r\nnumero vetture, 5\r\npercentuale massa frenata, 120\r\nsabbia, 300\r\norologio, 5 57 30\r\nvelocita, 0, 90\r\naderenza, 0, 100\r\nstazione, 0, 8, 300, 0,0,0, 1,1,0, 4,1,1, 1, 6,0,0, A\r\n[fine]\r\n' \
  >"$scratch/b_1-.txt"

machine_and_load before
echo "== check, median of $runs runs"
for size in 2000 16000 16MB; do
  mkdir -p "$scratch/$size"
  line=$scratch/$size/b_linea.txt
  if [[ $size == 16MB ]]; then
    faulty_boards "$line" 100000000 $((16 * 1024 * 1024))
  else
    faulty_boards "$line" "$size" $((16 * 1024 * 1024))
  fi
  cp "$scratch/b_1-.txt" "$scratch/$size/"
  log=$scratch/$size.log
  : >"$log"
  for ((i = 0; i < runs; i++)); do
    timed "$log" "$exe" check "$line" "$scratch/$size/b_1-.txt"
  done
  printf '%-6s %9d bytes %8d diagnostics  %8.3f s  %7d KB\n' "$size" "$(stat -c %s "$line")" \
    "$(grep -c ': error: ' "$log.err")" "$(cut -d' ' -f1 "$log" | median | awk '{ print $1 / 1000 }')" \
    "$(cut -d' ' -f2 "$log" | median | cut -d. -f1)"
done
machine_and_load after
