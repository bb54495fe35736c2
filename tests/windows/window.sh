#!/bin/sh
# The native window and message box under Xvfb and Wine: a run whose stamps
# conflict shows the progress window laid out in twips (280 x 179 pixels of
# client area at 96 dpi, title "scenario_gen"), then the box " Errore n.
# 1250" with its OK button; Return answers it, the run ends with status 2 and
# writes no binary file. A screenshot of both is left in SHOT_DIR
# (window.xwd, and window.png where ImageMagick's convert is installed).
# Then the default run of the program itself, with the display: it shows
# its window and ends on its own, having written the six files.
# Usage: window.sh WINE STAMP_CONFLICT_RUN.exe SCENARIO_GEN.exe SHOT_DIR (WINEPREFIX set)
set -u
wine=$1 program=$2 scenario_gen=$3 shots=$4
for tool in Xvfb xdotool xwd xwininfo; do
  command -v $tool >/dev/null || { echo "skipped: $tool not found (Debian: xvfb xdotool x11-apps)"; exit 0; }
done
dir=$(mktemp -d)
run_pid=
. "$(dirname "$0")/display_session.sh"
cleanup() {
  [ -n "$run_pid" ] && kill "$run_pid" 2>/dev/null
  display_session_end
  rm -rf "$dir"
}
trap cleanup EXIT
display_session_start
mkdir "$dir/run"
"$wine" "$program" "$(winepath -w "$dir/run" 2>/dev/null || echo "Z:$dir/run")" \
  >"$dir/out" 2>"$dir/err" &
run_pid=$!
# The box comes once the progress window is up: wait for two windows so named.
for _ in $(seq 300); do
  [ "$(xdotool search --name '^scenario_gen$' 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.1
done
sleep 1
status=0
mkdir -p "$shots"
xwd -root -silent >"$shots/window.xwd"
command -v convert >/dev/null && convert "xwd:$shots/window.xwd" "$shots/window.png" 2>/dev/null
# The progress window: the one whose client area is 280 x 179.
sizes=$(for w in $(xdotool search --name '^scenario_gen$'); do
  xwininfo -id "$w" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
done)
echo "windows named scenario_gen: $(echo $sizes)"
echo "$sizes" | grep -qx '280x179' || { echo "no window with a 280 x 179 client area"; status=1; }
[ "$(echo "$sizes" | wc -l)" -ge 2 ] || { echo "no message box"; status=1; }
# Answer the box.
for w in $(xdotool search --name '^scenario_gen$'); do xdotool key --window "$w" Return 2>/dev/null; done
for _ in $(seq 100); do kill -0 $run_pid 2>/dev/null || break; sleep 0.1; done
wait $run_pid
run_status=$?
run_pid=
wineserver -k 2>/dev/null
echo "the run ended with status $run_status"
[ $run_status = 2 ] || status=1
if ls "$dir/run" | grep -q '\.\(dat\|sim\)$'; then
  echo "a binary file was written: $(ls "$dir/run")"
  status=1
fi
mkdir "$dir/default"
cp "$scenario_gen" "$dir/default/scenario_gen.exe"
(cd "$dir/default" && timeout 120 "$wine" ./scenario_gen.exe </dev/null)
default_status=$?
wineserver -k 2>/dev/null
files=$(ls "$dir/default" | grep -vc '\.exe$')
echo "the default run with the window ended with status $default_status, $files files written"
[ $default_status = 0 ] && [ "$files" = 6 ] || status=1
exit $status
