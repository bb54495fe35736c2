#!/usr/bin/env bash
# Runs every fuzz harness of build-fuzz/ for SECONDS each (default 20) from its
# seed corpus, and fails on any finding (crash, leak, sanitizer report,
# timeout). New inputs go to a scratch folder; the committed corpus is only read.
# The harnesses run FUZZ_JOBS at a time (default: one per core); each is one
# process on one core, so each gets its SECONDS whatever runs beside it. The
# results are told in the harnesses' order.
set -euo pipefail
seconds=${1:-20}
jobs=${FUZZ_JOBS:-$(nproc)}
top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/build-fuzz/fuzz"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one harness; its verdict goes to $work/NAME.verdict.
run_one() {
  local exe=$1 name corpus
  name=$(basename "$exe")
  corpus="$top/fuzz/corpus/${name#fuzz_}"
  mkdir -p "$work/$name" "$work/$name.findings"
  if "$exe" -dict="$top/fuzz/keywords.dict" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$name.findings/" \
       "$work/$name" "$corpus" > "$work/$name.log" 2>&1; then
    echo found-nothing > "$work/$name.verdict"
  else
    echo finding > "$work/$name.verdict"
  fi
}

names=()
for exe in "$bin"/fuzz_*; do
  [ -x "$exe" ] || continue
  while (( $(jobs -rp | wc -l) >= jobs )); do wait -n || true; done
  run_one "$exe" &
  names+=("$(basename "$exe")")
done
wait

status=0
for name in "${names[@]}"; do
  if [ "$(cat "$work/$name.verdict" 2>/dev/null)" = found-nothing ]; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$' || echo "?")
    echo "$name: no finding in ${seconds}s, $runs runs"
  else
    echo "$name: FINDING" >&2
    tail -n 40 "$work/$name.log" >&2
    for f in "$work/$name.findings"/*; do [ -f "$f" ] && { echo "input ($f):" >&2; od -c "$f" | head -n 20 >&2; }; done
    status=1
  fi
done
exit $status
