#!/bin/sh
# cmake/windows/wine_run.sh, the Windows tests' emulator, with a stand-in for
# Wine: a run that fails without a byte of output is made once more, saying
# so, and its second status stands; a run that printed anything, or passed,
# is never repeated.
# Usage: wine_run_test.sh WINE_RUN_SH
set -u
wine_run=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
# case NAME EXPECTED_STATUS EXPECTED_RUNS SCRIPT: SCRIPT counts its runs in
# $dir/NAME.runs; the second run finds $dir/NAME.again.
check() {
  name=$1 want_status=$2 want_runs=$3 script=$4
  cat >"$dir/$name.sh" <<SCRIPT
echo run >>"$dir/$name.runs"
if [ -f "$dir/$name.again" ]; then again=1; else again=0; touch "$dir/$name.again"; fi
$script
SCRIPT
  bash "$wine_run" sh "$dir/$name.sh" >"$dir/$name.out" 2>&1
  got_status=$? got_runs=$(wc -l <"$dir/$name.runs")
  if [ "$got_status" != "$want_status" ] || [ "$got_runs" != "$want_runs" ]; then
    echo "$name: status $got_status after $got_runs runs, expected $want_status after $want_runs"
    status=1
  fi
  if [ "$want_runs" = 2 ] && ! grep -q 'no output: Wine did not start it; running it once more' "$dir/$name.out"; then
    echo "$name: the second run was not announced"
    status=1
  fi
}
# The scripts' $again is their own, expanded when they run.
# shellcheck disable=SC2016
check silent_then_passes 0 2 '[ $again = 1 ] && { echo passed; exit 0; }; exit 1'
# shellcheck disable=SC2016
check silent_twice 5 2 '[ $again = 1 ] && exit 5; exit 1'
check fails_printing 3 1 'echo "[  FAILED  ] a test"; exit 3'
check fails_printing_to_stderr 3 1 'echo "wine: could not load" >&2; exit 3'
check passes_silently 0 1 'exit 0'
[ $status = 0 ] && echo "wine_run.sh reruns only a silent failure, once"
exit $status
