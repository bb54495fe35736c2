# Sourced by the whole-process scripts (whole_process.sh, commands.sh): the
# one way they time a process and summarise the times. Needs /usr/bin/time.

if [[ ! -x /usr/bin/time ]]; then
  echo "bench/${0##*/}: error: /usr/bin/time is missing (Debian: time)" >&2
  exit 2
fi

# Prints the machine and its load average, WHEN being "before" or "after".
machine_and_load() {
  if [[ $1 == before ]]; then
    echo "== machine"
    echo "cpu:   $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
  fi
  echo "load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) $1"
}

# Prints the median of the numbers on stdin.
median() {
  sort -g | awk '{ v[NR] = $1 } END { printf "%.3f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# timed LOG CMD...: runs CMD, appending "WALL_MS PEAK_KB" to LOG; fails when
# CMD does (exit status 1, a pending fault or a report, counts as done).
timed() {
  local log=$1 t0 t1 status=0
  shift
  t0=$EPOCHREALTIME
  /usr/bin/time -f %M -o "$log.kb" "$@" >/dev/null 2>"$log.err" || status=$?
  t1=$EPOCHREALTIME
  if ((status > 1)); then
    echo "bench/${0##*/}: error: $* failed:" >&2
    cat "$log.err" >&2
    exit 1
  fi
  awk -v a="$t0" -v b="$t1" -v k="$(tail -n 1 "$log.kb")" 'BEGIN { printf "%.3f %d\n", (b - a) * 1000, k }' >>"$log"
}
