// scenario_gen lsp driven by the protocol client library VS Code itself
// uses: open both descriptions, diagnostics equal to check --format json,
// an edit, hover, completion, a quick fix, formatting (compiled before and
// after to the same bytes), shutdown.
//
// Usage: node lsp_client.test.mjs SCENARIO_GEN EXAMPLES_FOLDER
// Prints "skipped: WHY" and exits 0 where the client library or the server
// is missing.
import { spawn, spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const [exe, examples] = process.argv.slice(2).map((a) => path.resolve(a));
const require = createRequire(import.meta.url);
let protocol;
try {
  protocol = require('vscode-languageserver-protocol/node');
} catch {
  console.log('skipped: vscode-languageserver-protocol not installed (npm ci in tests/editor)');
  process.exit(0);
}
// Only a program built without the language server skips, by the message
// it gives; any other failure of the server is the test's.
const probe = spawnSync(exe, ['lsp'], { input: '' });
const built_without = /^scenario_gen: error: this scenario_gen was built without the language server: /;
if (probe.status === 2 && built_without.test(probe.stderr.toString())) {
  console.log('skipped: ' + probe.stderr.toString().trim());
  process.exit(0);
}

const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-lsp-'));
const linePath = path.join(folder, 'Valle_linea.txt');
const trainPath = path.join(folder, 'Valle_12-.txt');
const uri = (p) => 'file://' + p;
const read1252 = (p) => new TextDecoder('windows-1252').decode(fs.readFileSync(p));
// Faults and warnings of several kinds in both files.
const line = read1252(path.join(examples, 'Valle_linea.txt'))
  .replace('pendenza,  5000', 'pendensa,  5000')
  .replace('sfondo due', 'Sfondo due')
  .replace('indicatori_vmax,  1850', 'indicatori_vmax,  4000');
const train = read1252(path.join(examples, 'Valle_12-.txt'))
  .replace('stazione,    5500', 'stazione,    5525')
  .replace('sabbia,    300', 'sabbia,    300 kg');
fs.writeFileSync(linePath, line, 'latin1');
fs.writeFileSync(trainPath, train, 'latin1');

const child = spawn(exe, ['lsp'], { cwd: folder, stdio: ['pipe', 'pipe', 'inherit'] });
const connection = protocol.createProtocolConnection(
  new protocol.StreamMessageReader(child.stdout),
  new protocol.StreamMessageWriter(child.stdin),
);
const published = new Map();
const waiters = [];
connection.onNotification(protocol.PublishDiagnosticsNotification.type, (p) => {
  published.set(p.uri, p);
  for (const w of waiters.splice(0)) w();
});
connection.listen();
// The diagnostics of uri once they are those of version.
async function diagnosticsOf(u, version) {
  const deadline = Date.now() + 10000;
  while (!(published.get(u)?.version >= version)) {
    assert.ok(Date.now() < deadline, 'no diagnostics for ' + u);
    await new Promise((resolve) => { waiters.push(resolve); setTimeout(resolve, 200); });
  }
  return published.get(u).diagnostics;
}

const init = await connection.sendRequest(protocol.InitializeRequest.type, {
  processId: process.pid, rootUri: uri(folder), capabilities: {},
});
assert.equal(init.capabilities.positionEncoding, 'utf-16');
await connection.sendNotification(protocol.InitializedNotification.type, {});
const open = (p, text) => connection.sendNotification(protocol.DidOpenTextDocumentNotification.type, {
  textDocument: { uri: uri(p), languageId: 'scenario', version: 1, text },
});
await open(linePath, line);
await open(trainPath, train);

// Diagnostics: check's, entry for entry.
const check = JSON.parse(spawnSync(exe, ['check', 'Valle_linea.txt', 'Valle_12-.txt', '--format', 'json'],
  { cwd: folder }).stdout.toString());
const severities = { error: 1, warning: 2, note: 3 };
for (const [p, name] of [[linePath, 'Valle_linea.txt'], [trainPath, 'Valle_12-.txt']]) {
  const got = (await diagnosticsOf(uri(p), 1)).map((d) => ({
    line: d.range.start.line + 1, column: d.range.start.character + 1,
    severity: d.severity, code: d.code ?? null, message: d.message,
    notes: (d.relatedInformation ?? []).map((r) => r.message),
  }));
  const wanted = check.diagnostics.filter((d) => d.file === name).map((d) => ({
    // A diagnostic of no line stands at the document's start.
    line: d.line ?? 1, column: d.column ?? 1, severity: severities[d.severity], code: d.code,
    message: d.message, notes: d.notes.map((n) => n.message),
  }));
  assert.ok(wanted.length >= 2, name + ': the check found too little to compare');
  assert.deepEqual(got, wanted, name);
}
const lineDiagnostics = await diagnosticsOf(uri(linePath), 1);

// A quick fix for the misspelt keyword, applied, takes its warning away.
const misspelt = lineDiagnostics.find((d) => d.message.includes('did you mean'));
const actions = await connection.sendRequest(protocol.CodeActionRequest.type, {
  textDocument: { uri: uri(linePath) }, range: misspelt.range, context: { diagnostics: [misspelt] },
});
assert.equal(actions.length, 1);
const [edit] = actions[0].edit.changes[uri(linePath)];
assert.equal(edit.newText, 'pendenza');
await connection.sendNotification(protocol.DidChangeTextDocumentNotification.type, {
  textDocument: { uri: uri(linePath), version: 2 },
  contentChanges: [{ range: edit.range, text: edit.newText }],
});
const afterFix = await diagnosticsOf(uri(linePath), 2);
assert.equal(afterFix.length, lineDiagnostics.length - 1);
assert.ok(!afterFix.some((d) => d.message.includes('did you mean')));

// Hover on a curve's start and on a keyword.
const lines = line.split(/\r?\n/);
const curveLine = lines.findIndex((l) => l.startsWith('curvad4'));
const onStart = await connection.sendRequest(protocol.HoverRequest.type, {
  textDocument: { uri: uri(linePath) }, position: { line: curveLine, character: 11 },
});
assert.match(onStart.contents.value, /At km 43\+500/);
assert.match(onStart.contents.value, /class 4, curvature 0\.001 per metre .*turning right/);
// A signal's position: the cell the compile put it in.
const signalLine = train.split(/\r?\n/).findIndex((l) => l.startsWith('segnale,    5000'));
const onSignal = await connection.sendRequest(protocol.HoverRequest.type, {
  textDocument: { uri: uri(trainPath) }, position: { line: signalLine, character: 12 },
});
assert.match(onSignal.contents.value, /grid cell 101 \(50 m cells\)/);
const onKeyword = await connection.sendRequest(protocol.HoverRequest.type, {
  textDocument: { uri: uri(linePath) }, position: { line: curveLine, character: 2 },
});
assert.match(onKeyword.contents.value, /curvad4, s, l/);

// Completion at the start of a train record: the train's keywords, each a
// snippet, and the shipped scenario's stations and signals.
const items = await connection.sendRequest(protocol.CompletionRequest.type, {
  textDocument: { uri: uri(trainPath) }, position: { line: 12, character: 0 },
});
const labels = items.map((i) => i.label);
assert.ok(labels.includes('stazione') && labels.includes('segnale') && labels.includes('orologio'));
assert.ok(!labels.includes('pendenza'));
assert.ok(labels.includes('the departure station, first record (type 8, as CORVALE)'));
assert.ok(labels.some((l) => l.startsWith('signal ')));
assert.equal(items.find((i) => i.label === 'velocita').insertText, 'velocita, ${1:position}, ${2:speed}');

// Formatting packed lines gives the layout back, and the same compile.
const packed = train.replace(/, +/g, ',');
await connection.sendNotification(protocol.DidChangeTextDocumentNotification.type, {
  textDocument: { uri: uri(trainPath), version: 2 }, contentChanges: [{ text: packed }],
});
const edits = await connection.sendRequest(protocol.DocumentFormattingRequest.type, {
  textDocument: { uri: uri(trainPath) }, options: { tabSize: 4, insertSpaces: true },
});
assert.ok(edits.length > 10);
const eol = train.includes('\r\n') ? '\r\n' : '\n';
const formatted = packed.split(eol);
for (const e of edits) {
  assert.equal(e.range.start.line, e.range.end.line);
  formatted[e.range.start.line] = e.newText;
}
// Every record laid out as written (the clock with the blank the program
// ends it with), but the one with text after its value.
assert.deepEqual(formatted.filter((l, i) => l !== train.split(eol)[i]),
  ['sabbia,300 kg', 'orologio,    8               0            0 ']);
const compiled = (text, out) => {
  fs.writeFileSync(trainPath, text, 'latin1');
  spawnSync(exe, ['compile', 'Valle_linea.txt', 'Valle_12-.txt', '-o', out], { cwd: folder });
  return ['Valle_12.dat', 'Valle_12.sim', 'Valle_linea.dat'].map((f) => fs.readFileSync(path.join(folder, out, f)));
};
assert.deepEqual(compiled(packed, 'before'), compiled(formatted.join(eol), 'after'));

await connection.sendRequest(protocol.ShutdownRequest.type);
await connection.sendNotification(protocol.ExitNotification.type);
const status = await new Promise((resolve) => child.on('exit', resolve));
assert.equal(status, 0);
fs.rmSync(folder, { recursive: true, force: true });
console.log('lsp client test passed');
