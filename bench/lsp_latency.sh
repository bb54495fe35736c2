#!/usr/bin/env bash
# The language server's answer time to an edit of the largest scenario
# (bench_make_max, 1,000,000 m): the median of EDITS edits (default 20) from
# the edit sent to its diagnostics received, for the train and for the line
# description. The goal is under 100 ms. The load average is printed before
# and after, as the machine may be shared.
#
# Environment: EDITS, BUILD_DIR (a release build folder holding scenario_gen
# and bench/bench_make_max; default: the preset's build/, built here first).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/release_build.sh
if ! why=$("$build/scenario_gen" lsp </dev/null 2>&1) && [[ $? == 2 ]]; then
  echo "bench/lsp_latency.sh: error: $why" >&2
  exit 2
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$build/bench/bench_make_max" "$folder"
echo "load before: $(uptime)"
node bench/lsp_latency.mjs "$build/scenario_gen" "$folder" "${EDITS:-20}"
echo "load after: $(uptime)"
