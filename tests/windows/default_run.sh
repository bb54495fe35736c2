#!/bin/sh
# The default run of the .exe under Wine writes the six files with the bytes
# the Linux run writes, and a copy of the .exe in a drive's root (where the
# names get two backslashes in a row) still creates them there.
# Usage: default_run.sh WINE PROGRAM.exe (WINEPREFIX set)
set -eu
wine=$1 exe=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"; rm -f "$WINEPREFIX/dosdevices/s:"' EXIT
cat >"$dir/expected" <<'SUMS'
b6d84547bbaa8e3d12e6cce3c32395031f65a6ebcba5d6905f5bd175cf69234e  Corvale_Pianasco_4816.dat
3cd12df03804716f2862bcf729f7dea0ebe8c6ac1f54b6cca7dc4b8b97fa3094  Corvale_Pianasco_4816.sim
b77a36c0a343a61d18a254552c6ea39f792a2e1e89851db6921769fe2c56ad1c  Corvale_Pianasco_4816_note.txt
fc485f4565475e902e053817a1f69f0019b2f74b89f8d61679788eecff95d567  Corvale_Pianasco_4816_rallentamenti.txt
056320dcefa2ee7c88b77aeac0800334a074a808e684b836768b7e4fc4da0e61  Corvale_Pianasco_4816_scheda_treno.txt
40824395c0bbb521de0bf33f15f10d02a13dcab840251f9eafb60423ccfa6c5d  Corvale_Pianasco_linea.dat
SUMS
mkdir "$dir/folder" "$dir/root"
for place in folder root; do
  cp "$exe" "$dir/$place/scenario_gen.exe"
done
(cd "$dir/folder" && env -u DISPLAY "$wine" ./scenario_gen.exe </dev/null)
# Drive S: is the folder root: the program runs as S:\scenario_gen.exe.
ln -sfn "$dir/root" "$WINEPREFIX/dosdevices/s:"
(cd "$dir" && env -u DISPLAY "$wine" 'S:\scenario_gen.exe' </dev/null)
for place in folder root; do
  echo "== the default run in $place"
  (cd "$dir/$place" && rm scenario_gen.exe && ls && sha256sum -c "$dir/expected")
  [ "$(ls "$dir/$place" | wc -l)" = 6 ] || { echo "more than the six files in $place"; exit 1; }
done
