#!/bin/sh
# The Windows zip: made by cpack, unpacked into a scratch folder, it holds the
# program, README, licence, authoring guide, examples and editor files, its
# text in CR LF;
# the program run from there under Wine writes the shipped scenario beside
# itself, checks the examples it came with and answers an editor's first
# and last messages as the language server.
# Usage: package.sh CPACK BUILD_DIR WINE (WINEPREFIX set)
set -eu
export LC_ALL=C
cpack=$1 build=$2 wine=$3
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -B "$dir/made" >/dev/null
zip=$(ls "$dir"/made/scenario_gen-*-win64.zip)
echo "made $(basename "$zip")"
mkdir "$dir/unpacked"
(cd "$dir/unpacked" && cmake -E tar xf "$zip")
top="$dir/unpacked/$(basename "$zip" .zip)"
(cd "$top" && find . -type f | sort) >"$dir/listing"
cat "$dir/listing"
printf '%s\n' ./LICENSE ./README.md ./docs/authoring.md ./docs/examples/Valle_12-.txt \
  ./docs/examples/Valle_linea.txt ./editors/neovim/lua/scenario_gen.lua \
  ./editors/notepad++/scenario_gen.xml \
  ./editors/vim/ftdetect/scenario_gen.vim ./editors/vim/syntax/scenario_line.vim \
  ./editors/vim/syntax/scenario_train.vim ./editors/vscode/LICENSE ./editors/vscode/extension.js \
  ./editors/vscode/language-configuration.json ./editors/vscode/package.json \
  ./editors/vscode/syntaxes/scenario-line.tmLanguage.json \
  ./editors/vscode/syntaxes/scenario-train.tmLanguage.json ./scenario_gen.exe >"$dir/expected"
# Where the build packed the VS Code extension (npm there), the zip holds
# it byte for byte, and the bundle's licences beside the unpacked client.
vsix=$(cd "$build" && ls editors/scenario-gen-*.vsix 2>/dev/null || true)
if [ -n "$vsix" ]; then
  printf '%s\n' "./$vsix" ./editors/vscode/ThirdPartyNotices.txt >>"$dir/expected"
  sort -o "$dir/expected" "$dir/expected"
  cmp -s "$build/$vsix" "$top/$vsix" || { echo "the zip's $vsix is not the one the build packed"; exit 1; }
fi
cmp -s "$dir/listing" "$dir/expected" || { echo "the zip does not hold what it should"; exit 1; }
for text in LICENSE README.md docs/authoring.md docs/examples/Valle_linea.txt \
  $(cd "$top" && find editors -type f \( -name LICENSE -o -name '*.js' -o -name '*.json' \
    -o -name '*.vim' -o -name '*.xml' \) | sort); do
  # Every line ends with CR LF: no LF without its CR.
  if [ "$(grep -c "$(printf '\r')\$" "$top/$text")" != "$(wc -l <"$top/$text")" ]; then
    echo "$text has a line end without CR"
    exit 1
  fi
done
cd "$top"
env -u DISPLAY "$wine" ./scenario_gen.exe </dev/null
ls Corvale_Pianasco_4816.dat Corvale_Pianasco_4816.sim Corvale_Pianasco_linea.dat >/dev/null
echo 'b6d84547bbaa8e3d12e6cce3c32395031f65a6ebcba5d6905f5bd175cf69234e  Corvale_Pianasco_4816.dat' |
  sha256sum -c
env -u DISPLAY "$wine" ./scenario_gen.exe check 'docs\examples\Valle_linea.txt' 'docs\examples\Valle_12-.txt'
# The program the editor clients start serves the language protocol.
frame() { printf 'Content-Length: %d\r\n\r\n%s' "${#1}" "$1"; }
{ frame '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
  frame '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
  frame '{"jsonrpc":"2.0","method":"exit"}'
} | env -u DISPLAY "$wine" ./scenario_gen.exe lsp >"$dir/lsp.out" ||
  { echo "scenario_gen.exe lsp failed"; cat "$dir/lsp.out"; exit 1; }
grep -q '"hoverProvider":true' "$dir/lsp.out" && grep -q '{"id":2,"jsonrpc":"2.0","result":null}' "$dir/lsp.out" ||
  { echo "scenario_gen.exe lsp did not answer"; cat "$dir/lsp.out"; exit 1; }
echo "the unpacked program ran"
