-- scenario_gen's picture in Neovim. With this folder (editors/neovim) on
-- 'runtimepath' and the language server attached (see "Vim and Neovim" in
-- the authors' reference), require('scenario_gen').setup() gives
-- :ScenarioPicture: it asks the server for the picture of the description
-- in the current buffer (the command scenario_gen.showPicture) and opens the
-- page in the system's browser. The page follows the unsaved text, marks
-- the objects of the record under the cursor (the notification
-- scenario_gen/cursor) and, in a Neovim that supports window/showDocument,
-- a click on an object jumps to its record.
local M = {}

local function server_of(buf)
  local clients = vim.lsp.get_clients and vim.lsp.get_clients({ bufnr = buf })
    or vim.lsp.buf_get_clients(buf)
  for _, client in pairs(clients) do
    if client.name == 'scenario_gen' then
      return client
    end
  end
end

-- vim.ui.open where Neovim has it (0.10), else the system's own opener.
function M.open_in_browser(address)
  if vim.ui.open then
    vim.ui.open(address)
  elseif vim.fn.has('win32') == 1 then
    vim.fn.jobstart({ 'cmd.exe', '/c', 'start', '', address }, { detach = true })
  elseif vim.fn.has('mac') == 1 then
    vim.fn.jobstart({ 'open', address }, { detach = true })
  else
    vim.fn.jobstart({ 'xdg-open', address }, { detach = true })
  end
end

-- Whether the client lets the server open the page itself: it then asks
-- with window/showDocument, and opening it here too would open it twice.
local function server_opens_pages(client)
  local capabilities = client.config.capabilities or vim.lsp.protocol.make_client_capabilities()
  local window = capabilities.window or {}
  return window.showDocument ~= nil and window.showDocument.support == true
end

function M.show_picture()
  local buf = vim.api.nvim_get_current_buf()
  local client = server_of(buf)
  if not client then
    vim.notify('scenario_gen: no language server is attached to this buffer', vim.log.levels.ERROR)
    return
  end
  local params = { command = 'scenario_gen.showPicture', arguments = { vim.uri_from_bufnr(buf) } }
  client.request('workspace/executeCommand', params, function(err, address)
    if err then
      vim.notify('scenario_gen: ' .. err.message, vim.log.levels.ERROR)
      return
    end
    M.address = address
    if not server_opens_pages(client) then
      M.open_in_browser(address)
    end
    vim.notify('scenario_gen: the picture is at ' .. address)
  end, buf)
end

-- Tells the server where the cursor is, once the picture has been asked for.
local function tell_cursor(buf)
  local client = M.address and server_of(buf)
  if not client then
    return
  end
  local row, column = unpack(vim.api.nvim_win_get_cursor(0))
  client.notify('scenario_gen/cursor', {
    textDocument = { uri = vim.uri_from_bufnr(buf) },
    position = { line = row - 1, character = column },
  })
end

function M.setup()
  vim.api.nvim_create_user_command('ScenarioPicture', M.show_picture, {
    desc = "Open the picture of this description's scenario in the browser",
  })
  vim.api.nvim_create_autocmd({ 'CursorMoved', 'CursorMovedI' }, {
    pattern = { '*_linea.txt', '*-.txt' },
    callback = function(args)
      tell_cursor(args.buf)
    end,
  })
end

return M
