#!/usr/bin/env bash
# Runs a Windows program through Wine for the build and the tests: its
# standard output as it comes, its standard error when it ends. Wine now and
# then fails to start a program at all: it then ends at once with a failing
# status and without a byte of output, which no program of this build does
# (a test prints at least its name). Such a run is made once more, saying so;
# a run that printed anything stands as it is.
# Usage: wine_run.sh WINE PROGRAM.exe [ARGUMENTS...] (WINEPREFIX set)
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$@" 2>"$scratch/err" | tee "$scratch/out"
status=${PIPESTATUS[0]}
cat "$scratch/err" >&2
if [ "$status" != 0 ] && [ ! -s "$scratch/out" ] && [ ! -s "$scratch/err" ]; then
  echo "wine_run.sh: $2 ended with status $status and no output: Wine did not start it; running it once more"
  "$@"
  status=$?
fi
exit "$status"
