#!/usr/bin/env bash
# The picture's time to follow an unsaved edit (bench/picture_latency.mjs)
# on the largest scenario cut to 10 km and whole (1,000 km): the median of
# EDITS edits (default 20) each. The load average is printed before and
# after, as the machine may be shared.
#
# Environment: EDITS, BUILD_DIR (a release build folder holding scenario_gen
# and bench/bench_make_max; default: the preset's build/, built here first).
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/release_build.sh
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/1000"
"$build/bench/bench_make_max" "$folder/1000"
bench/scaled_scenario.sh "$folder/1000" 10 "$folder/10"
echo "load before: $(uptime)"
for km in 10 1000; do
  echo "$km km: $(node bench/picture_latency.mjs "$build/scenario_gen" "$folder/$km" "${EDITS:-20}")"
done
echo "load after: $(uptime)"
