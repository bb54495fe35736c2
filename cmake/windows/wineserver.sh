#!/bin/sh
# One Wine server for the whole Windows suite (the first and last tests of
# ctest's wineserver fixture): started persistent, without a display, so that
# no test pays for a server's start or meets one shutting down; stopped when
# the suite ends.
# Usage: wineserver.sh WINESERVER WINEBOOT start|stop (WINEPREFIX set)
set -u
wineserver=$1 wineboot=$2 step=$3
# A server left in this build's prefix by an interrupted run goes first.
"$wineserver" -k 2>/dev/null
"$wineserver" -w
case $step in
  start)
    # The server keeps the descriptors it was started with: none of ctest's.
    env -u DISPLAY "$wineserver" -p </dev/null >/dev/null 2>&1 ||
      { echo "wineserver -p failed in $WINEPREFIX"; exit 1; }
    # Wine's services then live as long as the server: started here, they
    # hold none of a test's output, which ctest would wait for to the end.
    env -u DISPLAY "$wineboot" </dev/null >/dev/null 2>&1 ||
      { echo "wineboot failed in $WINEPREFIX"; exit 1; }
    echo "a persistent Wine server runs in $WINEPREFIX"
    ;;
  stop) echo "the Wine server of $WINEPREFIX stopped" ;;
esac
