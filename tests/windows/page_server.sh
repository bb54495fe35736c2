#!/usr/bin/env bash
# The page server of the .exe under Wine, as on Linux: watch --serve prints
# its address, the page and the picture answer at it, and a request with a
# foreign Host or Origin is refused.
# Usage: page_server.sh WINE PROGRAM.exe EXAMPLES_FOLDER (WINEPREFIX set)
set -euo pipefail
wine=$1 exe=$2 examples=$3
dir=$(mktemp -d)
watcher=
stop() {
  if [ -n "$watcher" ]; then
    kill "$watcher" 2>/dev/null || true
    wait "$watcher" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap stop EXIT
cp "$examples/Valle_linea.txt" "$examples/Valle_12-.txt" "$dir"
(cd "$dir" && exec env -u DISPLAY "$wine" "$exe" watch Valle_linea.txt Valle_12-.txt --serve \
  >"$dir/out" 2>"$dir/err" </dev/null) &
watcher=$!
port=
for _ in $(seq 300); do
  port=$(sed -n 's|^serving the page at http://127\.0\.0\.1:\([0-9]*\)/$|\1|p' "$dir/out")
  [ -n "$port" ] && break
  kill -0 "$watcher" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$port" ]; then
  cat "$dir/err"
  echo "the Windows program printed no address"
  exit 1
fi
echo "serving at port $port"

# The status line of a GET of path with the given Host and Origin headers,
# and, with a third argument, whether the answer holds it.
get() {
  local path=$1 headers=$2 grep_for=${3:-}
  exec 3<>"/dev/tcp/127.0.0.1/$port"
  printf 'GET %s HTTP/1.1\r\n%bConnection: close\r\n\r\n' "$path" "$headers" >&3
  local answer
  answer=$(timeout 10 cat <&3 || true)
  exec 3>&-
  head -1 <<<"$answer" | tr -d '\r'
  [ -z "$grep_for" ] || { grep -q "$grep_for" <<<"$answer" && echo found || echo missing; }
}
own="Host: 127.0.0.1:$port\r\n"
failed=0
expect() {
  if [ "$1" = "$2" ]; then echo "ok: $3"; else echo "FAILED: $3 (got '$1', expected '$2')"; failed=1; fi
}
expect "$(get / "$own" | head -1)" "HTTP/1.1 200 OK" "the page answers at its own address"
expect "$(get /picture.svg "$own" MOLINO | tail -1)" found "the picture shows the station MOLINO"
expect "$(get / "Host: localhost:$port\r\n" | head -1)" "HTTP/1.1 200 OK" "localhost is its own name"
expect "$(get / "Host: evil.example:$port\r\n" | head -1)" "HTTP/1.1 403 Forbidden" \
  "a foreign Host is refused"
expect "$(get /picture.svg "${own}Origin: http://evil.example\r\n" | head -1)" \
  "HTTP/1.1 403 Forbidden" "a foreign Origin is refused"
exit $failed
