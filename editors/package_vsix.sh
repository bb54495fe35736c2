#!/usr/bin/env bash
# Packs the VS Code extension the build made (BUILD/editors/vscode) into a
# .vsix: npm ci installs the packing tools at the versions the lock file in
# editors/vscode/tools names, esbuild bundles the client and its library
# into one extension.js, and @vscode/vsce packs that with the manifest, the
# grammars and the licences. Without npm, or when npm cannot fetch the
# tools, it says so and makes no .vsix: the rest of the build goes on.
#
# Usage: editors/package_vsix.sh EXTENSION_FOLDER WORK_FOLDER OUTPUT.vsix
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
extension=$(realpath "$1")
work=$(realpath -m "$2")
output=$(realpath -m "$3")

skip() {
  echo "package_vsix.sh: $1: the VS Code extension is not packed (no $(basename "$output"))"
  rm -rf "$output" "$work/extension"
  exit 0
}
command -v npm >/dev/null || skip "npm not found (Debian: npm)"

# The tools once per lock file: a build with them installed goes offline.
tools=$work/tools
if ! cmp -s "$here/vscode/tools/package-lock.json" "$tools/package-lock.json" ||
  [ ! -d "$tools/node_modules" ]; then
  rm -rf "$tools"
  mkdir -p "$tools"
  cp "$here/vscode/tools/package.json" "$here/vscode/tools/package-lock.json" "$tools/"
  echo "package_vsix.sh: npm ci of the packing tools (esbuild, @vscode/vsce, vscode-languageclient)"
  if ! (cd "$tools" && npm ci --no-audit --no-fund --fetch-retries=1 >npm-ci.log 2>&1); then
    tail -n 5 "$tools/npm-ci.log" >&2
    rm -rf "$tools/node_modules"
    skip "npm ci could not install the packing tools (no network to the npm registry?)"
  fi
fi

# What goes into the .vsix, and nothing else.
stage=$work/extension
rm -rf "$stage"
mkdir -p "$stage"
cp -r "$extension/package.json" "$extension/language-configuration.json" "$extension/syntaxes" \
  "$extension/LICENSE" "$here/vscode/.vscodeignore" "$stage/"
# Run from beside node_modules, where it finds esbuild.
cp "$here/vscode/tools/bundle.mjs" "$tools/"
(cd "$tools" && node bundle.mjs "$here/vscode/extension.js" "$stage")
# The unpacked folder shipped beside the .vsix runs as it is too, starting
# the program of its own zip or package.
cp "$stage/extension.js" "$stage/ThirdPartyNotices.txt" "$extension/"

# Made beside and renamed into place: a reader never sees half a .vsix.
made=$work/made.vsix
rm -f "$made"
(cd "$stage" && node "$tools/node_modules/@vscode/vsce/vsce" package --no-dependencies \
  --allow-missing-repository --out "$made" >"$work/vsce.log" 2>&1) ||
  { cat "$work/vsce.log" >&2; exit 1; }
mv -f "$made" "$output"
echo "package_vsix.sh: packed $(basename "$output") ($(wc -c <"$output") bytes)"
