#!/bin/sh
# A default run started as a double-click starts it (a console of its own,
# which the program lets go) that fails shows its error in a message box:
# the program's title, the error's one line, OK. Under Xvfb and Wine, with a
# folder standing where the run writes Corvale_Pianasco_4816.sim: the box's
# text is read back by read_message_box.exe, which answers it, and the run
# still ends with status 2.
# Usage: failure_box.sh WINE SCENARIO_GEN.exe READ_MESSAGE_BOX.exe (WINEPREFIX set)
set -u
wine=$1 scenario_gen=$2 reader=$3
command -v Xvfb >/dev/null || { echo "skipped: Xvfb not found (Debian: xvfb)"; exit 0; }
dir=$(mktemp -d)
. "$(dirname "$0")/display_session.sh"
cleanup() {
  display_session_end
  rm -rf "$dir"
}
trap cleanup EXIT
display_session_start
mkdir "$dir/run" "$dir/run/Corvale_Pianasco_4816.sim"
cp "$scenario_gen" "$dir/run/scenario_gen.exe"
program=$(winepath -w "$dir/run/scenario_gen.exe" 2>/dev/null || echo "Z:$dir/run/scenario_gen.exe")
# start /wait: a new console, as a double-click gives, and the exit status.
(cd "$dir/run" && "$wine" start /wait "$program" </dev/null >"$dir/out" 2>"$dir/err"; echo $? >"$dir/status") &
run=$!
"$wine" "$reader" 60 >"$dir/said" 2>/dev/null
reader_status=$?
said=$(tr -d '\r' <"$dir/said")
for _ in $(seq 300); do kill -0 $run 2>/dev/null || break; sleep 0.1; done
wineserver -k 2>/dev/null
status=0
printf "the box said: %s\n" "$said"
expected="scenario_gen: error: cannot create '$(winepath -w "$dir/run" 2>/dev/null)\\Corvale_Pianasco_4816.sim'"
case "$said" in
  "$expected"*) ;;
  *) printf "expected a box starting: %s\n" "$expected"; status=1 ;;
esac
[ $reader_status = 0 ] || status=1
run_status=$(cat "$dir/status" 2>/dev/null)
echo "the run ended with status $run_status"
[ "$run_status" = 2 ] || status=1
exit $status
