#!/usr/bin/env bash
# scaled_scenario.sh MAX_FOLDER KM OUT_FOLDER: the largest scenario's two
# descriptions (bench_make_max's Max_linea.txt and Max_1-.txt in
# MAX_FOLDER) cut to a route of KM km, written into OUT_FOLDER under the same
# names. The route length record is set, and records past its end are left
# for the compile to stop at, as an author's would be.
set -euo pipefail
if (($# != 3)); then
  echo "usage: bench/scaled_scenario.sh MAX_FOLDER KM OUT_FOLDER" >&2
  exit 2
fi
max=$1 end=$(($2 * 1000)) out=$3
mkdir -p "$out"
sed "s/^\(lunghezza percorso, *\)[0-9]*/\1$end/" "$max/Max_linea.txt" |
  awk -v end="$end" -F', *' '
    /^\[/ || NF < 2 || $2 !~ /^[0-9]+$/ || $1 ~ /lunghezza|progressiva|sfondo|ripetizione/ { print; next }
    $2 + 0 <= end - 200 { print }' >"$out/Max_linea.txt"
awk -v end="$end" -F', *' '
    /^\[/ || NF < 2 || $2 !~ /^[0-9]+$/ { print; next }
    $2 + 0 <= end - 200 { print }' "$max/Max_1-.txt" >"$out/Max_1-.txt"
