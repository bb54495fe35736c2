#!/bin/sh
# compile, check, decompile and dump of the shipped examples (and of a
# damaged file) give the same bytes, the same messages and the same exit
# statuses from the Windows program under Wine as from the Linux program.
# Usage: same_as_linux.sh LINUX_PROGRAM WINE WINDOWS_PROGRAM.exe EXAMPLES_DIR
set -u
linux=$1 wine=$2 windows=$3 examples=$4
if [ ! -x "$linux" ]; then
  # CI builds the Linux program first: there a missing one is a fault of the
  # run, not a reason to compare nothing.
  if [ "${CI:-}" = true ]; then
    echo "no Linux build at $linux to compare with, and CI=true: the comparison cannot be skipped in CI"
    exit 1
  fi
  echo "skipped: no Linux build at $linux to compare with (cmake --preset default && cmake --build --preset default, or -DSCENARIO_LINUX_PROGRAM=PATH)"
  exit 0
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
for side in linux windows; do
  mkdir "$dir/$side"
  cp "$examples"/* "$dir/$side/"
done
status=0
# Each command runs on both sides in the same relative folder; its standard
# output, standard error and exit status are kept.
run_both() {
  name=$1
  shift
  (cd "$dir/linux" && "$linux" "$@" >"$dir/$name.linux.out" 2>"$dir/$name.linux.err" </dev/null
   echo $? >"$dir/$name.linux.status")
  (cd "$dir/windows" && env -u DISPLAY "$wine" "$windows" "$@" >"$dir/$name.windows.out" \
     2>"$dir/$name.windows.err" </dev/null
   echo $? >"$dir/$name.windows.status")
  for part in out err status; do
    if ! cmp -s "$dir/$name.linux.$part" "$dir/$name.windows.$part"; then
      echo "$name: the $part differs"
      diff "$dir/$name.linux.$part" "$dir/$name.windows.$part" | head -5
      status=1
    fi
  done
  echo "$name: exit $(cat "$dir/$name.linux.status") on both"
}
run_both compile compile Valle_linea.txt Valle_12-.txt -o out
run_both check check Valle_linea.txt Valle_12-.txt
run_both check-json check Valle_linea.txt Valle_12-.txt --format json
for file in Valle_12.dat Valle_12.sim Valle_linea.dat; do
  run_both "dump-$file" dump "out/$file"
  run_both "dump-json-$file" dump "out/$file" --json
done
run_both decompile decompile out -o back
# A damaged grid: cut short by one byte.
for side in linux windows; do
  head -c 100 "$dir/$side/out/Valle_12.dat" >"$dir/$side/short.dat"
done
run_both dump-damaged dump short.dat
# A broken description: a station record's position not a multiple of 50.
for side in linux windows; do
  sed 's/^\(stazione, *[0-9]*\)0,/\17,/' "$examples/Valle_12-.txt" >"$dir/$side/Bad_12-.txt"
done
run_both compile-broken compile Valle_linea.txt Bad_12-.txt -o bad --train-number 12
run_both check-broken check Valle_linea.txt Bad_12-.txt
for folder in out back bad; do
  if ! diff -r "$dir/linux/$folder" "$dir/windows/$folder" >/dev/null 2>&1; then
    echo "the files written into $folder differ"
    status=1
  fi
done
[ $status = 0 ] && echo "the same bytes and statuses on both"
exit $status
