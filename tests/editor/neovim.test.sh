#!/usr/bin/env bash
# Neovim (headless) with the generated Vim files: it detects a train
# description's file type, attaches scenario_gen lsp with the lines the
# authors' reference gives, and receives the diagnostics check reports.
#
# Usage: neovim.test.sh SCENARIO_GEN EDITORS_FOLDER EXAMPLES_FOLDER
# Prints "skipped: WHY" where Neovim or the language server is missing.
set -euo pipefail
exe=$(realpath "$1")
editors=$(realpath "$2")
examples=$(realpath "$3")
command -v nvim >/dev/null || { echo "skipped: nvim not found (Debian: neovim)"; exit 0; }
# Only a program built without the language server skips, by the message it
# gives; any other failure of the server is the test's.
why=$("$exe" lsp </dev/null 2>&1) && status=0 || status=$?
case "$status:$why" in
  "2:scenario_gen: error: this scenario_gen was built without the language server: "*)
    echo "skipped: $why"
    exit 0
    ;;
esac
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$examples"/Valle_linea.txt "$examples"/Valle_12-.txt "$folder"
# A station off the 50 m grid, and a misspelt keyword.
sed -i 's/stazione,    5500/stazione,    5525/; s/rallentamento/rallentamneto/' "$folder/Valle_12-.txt"

cat >"$folder/init.lua" <<LUA
vim.opt.runtimepath:prepend('$editors/vim')
vim.opt.fileencodings = 'ucs-bom,utf-8,cp1252'
vim.api.nvim_create_autocmd('FileType', {
  pattern = { 'scenario_line', 'scenario_train' },
  callback = function(args)
    -- Neovim 0.8 and later: vim.lsp.start({ name = 'scenario_gen', cmd = { 'scenario_gen', 'lsp' } })
    local id = vim.lsp.start_client({ name = 'scenario_gen', cmd = { '$exe', 'lsp' },
                                      root_dir = vim.fn.expand('%:p:h') })
    vim.lsp.buf_attach_client(args.buf, id)
  end,
})
LUA
cat >"$folder/report.lua" <<'LUA'
local got = vim.wait(10000, function() return #vim.diagnostic.get(0) > 0 end, 50)
local function group(line, col) return vim.fn.synIDattr(vim.fn.synID(line, col, 1), 'name') end
-- Line 2 reads "numero vetture,    4"; line 1 is the [generale] header.
local lines = { 'filetype=' .. vim.bo.filetype, 'syntax=' .. (vim.b.current_syntax or ''),
                'colours=' .. group(1, 1) .. ' ' .. group(2, 1) .. ' ' .. group(2, 20) }
for _, d in ipairs(vim.diagnostic.get(0)) do
  table.insert(lines, string.format('%d:%d: %s: %s', d.lnum + 1, d.col + 1,
    d.severity == vim.diagnostic.severity.ERROR and 'error' or 'warning', d.message))
end
if not got then table.insert(lines, 'no diagnostics') end
vim.fn.writefile(lines, 'report.txt')
vim.cmd('qall!')
LUA
(cd "$folder" && timeout 60 nvim --headless -u init.lua Valle_12-.txt -c 'luafile report.lua') || true
report=$(cat "$folder/report.txt" 2>/dev/null || echo "Neovim wrote no report")
echo "$report"
# check's diagnostics of the same file, in the same form.
wanted=$(cd "$folder" && { "$exe" check Valle_linea.txt Valle_12-.txt 2>&1 || true; } |
  sed -n 's/^Valle_12-\.txt:\([0-9]*:[0-9]*\): \(error\|warning\): \(.*\)$/\1: \2: \3/p' |
  sed 's/ (code [0-9]*, at [0-9]* m)$//; s/ \[-W[a-z-]*\]$//')
expected=$(printf 'filetype=scenario_train\nsyntax=scenario_train\ncolours=%s\n%s' \
  'scenarioSection scenarioKeyword scenarioNumber' "$wanted")
if [ "$report" != "$expected" ]; then
  echo "expected:"
  echo "$expected"
  exit 1
fi
[ "$(echo "$wanted" | wc -l)" -ge 2 ] || { echo "check found too little to compare"; exit 1; }
echo "neovim test passed"
