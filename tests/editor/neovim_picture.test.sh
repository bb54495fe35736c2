#!/usr/bin/env bash
# :ScenarioPicture of editors/neovim in headless Neovim, attached to
# scenario_gen lsp as the authors' reference says: the command gets the
# page's address from the server and hands it to the browser opener, and the
# page at that address answers with the picture of the unsaved buffer.
#
# Usage: neovim_picture.test.sh SCENARIO_GEN EDITORS_FOLDER EXAMPLES_FOLDER
# Prints "skipped: WHY" where Neovim, the language server or the page server
# is missing.
set -euo pipefail
exe=$(realpath "$1")
editors=$(realpath "$2")
examples=$(realpath "$3")
command -v nvim >/dev/null || { echo "skipped: nvim not found (Debian: neovim)"; exit 0; }
if ! why=$("$exe" lsp </dev/null 2>&1) && [ "$?" = 2 ]; then echo "skipped: $why"; exit 0; fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$examples"/Valle_linea.txt "$examples"/Valle_12-.txt "$folder"

cat >"$folder/init.lua" <<LUA
vim.opt.runtimepath:prepend('$editors/vim')
vim.opt.runtimepath:prepend('$editors/neovim')
vim.opt.fileencodings = 'ucs-bom,utf-8,cp1252'
vim.api.nvim_create_autocmd('FileType', {
  pattern = { 'scenario_line', 'scenario_train' },
  callback = function(args)
    local id = vim.lsp.start_client({ name = 'scenario_gen', cmd = { '$exe', 'lsp' },
                                      root_dir = vim.fn.expand('%:p:h') })
    vim.lsp.buf_attach_client(args.buf, id)
  end,
})
local picture = require('scenario_gen')
picture.setup()
-- The browser: the address it is asked to open, in a file.
picture.open_in_browser = function(address) vim.fn.writefile({ address }, 'opened.txt') end
LUA
cat >"$folder/report.lua" <<'LUA'
vim.wait(10000, function() return #vim.diagnostic.get(0) > 0 or vim.lsp.buf_get_clients(0)[1] ~= nil end, 50)
vim.wait(2000, function() return false end, 50)
-- An unsaved edit: MOLINO renamed in the buffer only.
vim.cmd([[%s/MOLINO/MULINO/]])
vim.cmd('ScenarioPicture')
local opened = vim.wait(10000, function() return vim.fn.filereadable('opened.txt') == 1 end, 50)
if not opened then
  vim.fn.writefile({ 'nothing opened: ' .. vim.inspect(vim.v.errmsg) }, 'opened.txt')
end
-- The server, and the page with it, ends with Neovim: it stays till the
-- test has read the page.
vim.wait(15000, function() return vim.fn.filereadable('done.txt') == 1 end, 50)
vim.cmd('qall!')
LUA
(cd "$folder" && timeout 60 nvim --headless -u init.lua Valle_12-.txt -c 'luafile report.lua') &
nvim_pid=$!
for _ in $(seq 100); do [ -s "$folder/opened.txt" ] && break; sleep 0.1; done
address=$(cat "$folder/opened.txt" 2>/dev/null || echo "nothing opened")
echo "opened: $address"
if [[ ! $address =~ ^http://127\.0\.0\.1:([0-9]+)/$ ]]; then
  touch "$folder/done.txt"
  wait $nvim_pid || true
  echo "expected the page's address"; exit 1
fi
port=${BASH_REMATCH[1]}
# GET /picture.svg by bash alone.
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'GET /picture.svg HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nConnection: close\r\n\r\n' "$port" >&3
answer=$(timeout 5 cat <&3 || true)
exec 3>&-
touch "$folder/done.txt"
wait $nvim_pid || true
head -1 <<<"$answer"
grep -q '^HTTP/1.1 200' <<<"$answer" || { echo "the page server did not answer"; exit 1; }
grep -q 'MULINO' <<<"$answer" || { echo "the picture lacks the unsaved edit"; exit 1; }
echo "neovim picture test passed"
