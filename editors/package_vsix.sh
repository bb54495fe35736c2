#!/usr/bin/env bash
# Packs the generated VS Code extension (BUILD/editors/vscode) into a .vsix
# with npm's @vscode/vsce, its one dependency (vscode-languageclient) inside.
# Needs npm and the network to the npm registry; the build itself does not.
#
# Usage: editors/package_vsix.sh EXTENSION_FOLDER OUTPUT.vsix
set -euo pipefail
extension=$(realpath "$1")
output=$(realpath -m "$2")
command -v npm >/dev/null || { echo "package_vsix.sh: error: npm not found (Debian: npm)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$extension"/. "$work"
cd "$work"
npm install --omit=dev --no-audit --no-fund >/dev/null
npx --yes @vscode/vsce@3.2.1 package --allow-missing-repository -o "$output"
