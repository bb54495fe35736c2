// The language server's answer time to an edit on the largest scenario: the
// time from sending an edit (one incremental change) to receiving the
// diagnostics of the edited version, for the train description (one check)
// and for the line description (its check and its open train's). Each edit
// waits for the answer to the one before; prints the median and the range.
//
// Usage: node bench/lsp_latency.mjs SCENARIO_GEN FOLDER [EDITS]
// FOLDER holds Max_linea.txt and Max_1-.txt (bench_make_max FOLDER).
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [exe, folder, count = '20'] = process.argv.slice(2);
const edits = Number(count);
const server = spawn(path.resolve(exe), ['lsp'], { cwd: folder, stdio: ['pipe', 'pipe', 'inherit'] });
let buffer = Buffer.alloc(0);
let waiting = null;  // { uri, version, left, resolve }
server.stdout.on('data', (chunk) => {
  buffer = Buffer.concat([buffer, chunk]);
  for (;;) {
    const end = buffer.indexOf('\r\n\r\n');
    if (end < 0) return;
    const length = Number(/Content-Length: (\d+)/i.exec(buffer.subarray(0, end).toString())[1]);
    if (buffer.length < end + 4 + length) return;
    const message = JSON.parse(buffer.subarray(end + 4, end + 4 + length).toString());
    buffer = buffer.subarray(end + 4 + length);
    if (message.method !== 'textDocument/publishDiagnostics' || !waiting) continue;
    const p = message.params;
    if (p.diagnostics.length > 0) throw new Error('the scenario has faults: ' + p.diagnostics[0].message);
    if (waiting.uris.delete(p.uri) && waiting.uris.size === 0) waiting.resolve();
  }
});
const send = (message) => {
  const body = Buffer.from(JSON.stringify({ jsonrpc: '2.0', ...message }));
  server.stdin.write(`Content-Length: ${body.length}\r\n\r\n`);
  server.stdin.write(body);
};
const published = (uris) => new Promise((resolve) => { waiting = { uris: new Set(uris), resolve }; });

const documents = ['Max_linea.txt', 'Max_1-.txt'].map((name) => {
  const file = path.resolve(folder, name);
  return { uri: 'file://' + file, text: new TextDecoder('windows-1252').decode(fs.readFileSync(file)), version: 1 };
});
send({ id: 1, method: 'initialize', params: { capabilities: {} } });
send({ method: 'initialized', params: {} });
const opened = published(documents.map((d) => d.uri));
for (const d of documents)
  send({ method: 'textDocument/didOpen', params: { textDocument: { uri: d.uri, languageId: 'x', version: 1, text: d.text } } });
await opened;

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
for (const [edited, rechecked, what] of [
  [documents[1], [documents[1]], 'train description (one check)'],
  [documents[0], documents, 'line description (its check and the open train\'s)'],
]) {
  const times = [];
  // The same character written over itself: a real edit to the server.
  const line = edited.text.split(/\r?\n/).findIndex((l) => /^\s*[a-z]/i.test(l) && l.includes(','));
  const character = edited.text.split(/\r?\n/)[line].length - 1;
  const same = edited.text.split(/\r?\n/)[line][character];
  for (let i = 0; i < edits; i++) {
    const answered = published(rechecked.map((d) => d.uri));
    const start = process.hrtime.bigint();
    send({
      method: 'textDocument/didChange',
      params: {
        textDocument: { uri: edited.uri, version: ++edited.version },
        contentChanges: [{ range: { start: { line, character }, end: { line, character: character + 1 } }, text: same }],
      },
    });
    await answered;
    times.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  console.log(`edit of the ${what}: median ${median(times).toFixed(1)} ms over ${edits} edits ` +
              `(min ${Math.min(...times).toFixed(1)}, max ${Math.max(...times).toFixed(1)})`);
}
send({ id: 2, method: 'shutdown' });
send({ method: 'exit' });
