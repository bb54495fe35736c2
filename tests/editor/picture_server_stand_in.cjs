// A language server that answers only what the VS Code extension's picture
// needs, started by the extension under test in place of scenario_gen lsp:
// scenario_gen.showPicture returns a page address (and, as the real server
// does for a client that can show documents, asks to show that page); a
// cursor notification is answered as a click on the page would be, with
// window/showDocument of the record at the cursor's line. Every message it
// reads is appended to the file named by PICTURE_STAND_IN_LOG; the page's
// address is PICTURE_STAND_IN_PAGE when set.
'use strict';
const fs = require('fs');

const page = process.env.PICTURE_STAND_IN_PAGE || 'http://127.0.0.1:43210/';
const log = process.env.PICTURE_STAND_IN_LOG;
let nextId = 1000;

function send(message) {
  const body = Buffer.from(JSON.stringify({ jsonrpc: '2.0', ...message }), 'utf8');
  process.stdout.write(`Content-Length: ${body.length}\r\n\r\n`);
  process.stdout.write(body);
}

function handle(message) {
  fs.appendFileSync(log, JSON.stringify(message) + '\n');
  const { id, method, params } = message;
  if (method === 'initialize') {
    send({
      id,
      result: {
        capabilities: {
          textDocumentSync: 1,
          executeCommandProvider: { commands: ['scenario_gen.showPicture'] },
        },
      },
    });
  } else if (method === 'workspace/executeCommand') {
    send({ id: nextId++, method: 'window/showDocument', params: { uri: page, external: true } });
    send({ id, result: page });
  } else if (method === 'scenario_gen/cursor') {
    const line = params.position.line;
    const selection = { start: { line, character: 0 }, end: { line, character: 9 } };
    send({
      id: nextId++,
      method: 'window/showDocument',
      params: { uri: params.textDocument.uri, selection, takeFocus: true },
    });
  } else if (method === 'shutdown') {
    send({ id, result: null });
  } else if (method === 'exit') {
    process.exit(0);
  } else if (id !== undefined && method !== undefined) {
    send({ id, result: null });
  }
}

let buffered = Buffer.alloc(0);
process.stdin.on('data', (chunk) => {
  buffered = Buffer.concat([buffered, chunk]);
  for (;;) {
    const end = buffered.indexOf('\r\n\r\n');
    if (end < 0) return;
    const length = Number(/Content-Length: *([0-9]+)/i.exec(buffered.subarray(0, end).toString())[1]);
    if (buffered.length < end + 4 + length) return;
    handle(JSON.parse(buffered.subarray(end + 4, end + 4 + length).toString('utf8')));
    buffered = buffered.subarray(end + 4 + length);
  }
});
