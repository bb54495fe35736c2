#!/bin/sh
# Fetches the single-file httplib.h of the HTTP library (cpp-httplib) that
# the Windows program's page server is built from: Debian's source package,
# with Debian's patches applied, at the version pinned below, its header
# checked against the pinned sha256. Debian's binary package splits the
# library into a header of declarations and a Linux library, which cannot
# build a Windows program.
#
# Usage: fetch_httplib.sh OUTPUT_FOLDER
# Writes OUTPUT_FOLDER/httplib.h. Needs apt-get and dpkg-source (Debian:
# apt, dpkg-dev) and the network; touches none of the system's apt state:
# the package lists of the one deb-src entry it needs are kept in
# OUTPUT_FOLDER/apt.
set -eu
version=0.11.4+ds-1+deb12u1
sha256=2bcaaeb62b3fee7beed69aa51e14f811f4d0bac3a0c1d6f0f095b02655d80a4e

out=$1
mkdir -p "$out"
out=$(cd "$out" && pwd)
if [ -f "$out/httplib.h" ] && echo "$sha256  $out/httplib.h" | sha256sum -c - >/dev/null 2>&1; then
  exit 0
fi
for tool in apt-get dpkg-source sha256sum; do
  command -v "$tool" >/dev/null ||
    { echo "fetch_httplib.sh: $tool not found (Debian: apt, dpkg-dev, coreutils)" >&2; exit 1; }
done
apt="$out/apt"
work="$out/source"
rm -rf "$apt" "$work"
mkdir -p "$apt/sources" "$apt/lists/partial" "$apt/cache/archives/partial" "$work"
options="-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts=$apt/sources
  -o Dir::State::Lists=$apt/lists -o Dir::Cache=$apt/cache -o Debug::NoLocking=1
  -o APT::Sandbox::User=root -qq"
# The machine's own binary-package entries, as source entries: the same
# archives and suites the system installs from, named by no host here.
for list in /etc/apt/sources.list.d/*.sources; do
  if [ -f "$list" ]; then sed 's/^Types:.*/Types: deb-src/' "$list" >"$apt/sources/$(basename "$list")"; fi
done
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  if [ -f "$list" ]; then sed -n 's/^deb \(.*\)/deb-src \1/p' "$list" >"$apt/sources/$(basename "$list").list"; fi
done
fetched=no
# shellcheck disable=SC2086
if apt-get $options update >&2 &&
   (cd "$work" && apt-get $options source "cpp-httplib=$version" >&2); then
  fetched=yes
fi
[ "$fetched" = yes ] ||
  { echo "fetch_httplib.sh: could not fetch Debian's source of cpp-httplib $version" >&2; exit 1; }
header="$work/cpp-httplib-${version%%-*}/httplib.h"
if ! echo "$sha256  $header" | sha256sum -c - >/dev/null 2>&1; then
  echo "fetch_httplib.sh: $header is not the one pinned (sha256 $sha256)" >&2
  exit 1
fi
cp "$header" "$out/httplib.h"
rm -rf "$apt" "$work"
