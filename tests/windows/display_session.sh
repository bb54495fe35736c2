# Sourced by the Windows tests that need a display (window.sh,
# failure_box.sh; each runs alone, RUN_SERIAL). display_session_start starts
# Xvfb on a display number it picks itself, exports DISPLAY, and restarts
# the Wine server under it: a server started without a display keeps its
# session without one. display_session_end stops Xvfb and gives the rest of
# the suite back a persistent server without a display, its services holding
# none of a test's output (cmake/windows/wineserver.sh). Needs $dir, a
# scratch folder of the caller's.
xvfb_pid=
display_session_start() {
  exec 3>"$dir/display"
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$dir/display" ] && break; sleep 0.1; done
  DISPLAY=":$(cat "$dir/display")"
  export DISPLAY
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}
display_session_end() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  env -u DISPLAY wineserver -p </dev/null >/dev/null 2>&1
  env -u DISPLAY wineboot </dev/null >/dev/null 2>&1
}
