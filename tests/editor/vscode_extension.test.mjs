// The packed VS Code extension: its manifest (the command and the
// editor-title button on both languages, an engine range its client library
// accepts), what `vsce ls` would pack, and its bundle activated in node
// against a stand-in for the `vscode` module: the program found or said
// missing, the picture opened in a panel beside the text with the address
// the server gave, the cursor sent to the server, a record clicked on the
// page shown in the text's column, the server restarted on a new path.
//
// Usage: node vscode_extension.test.mjs EXTENSION_FOLDER TOOLS_FOLDER
// (the build's vscode_extension/extension and vscode_extension/tools).
// Prints "skipped: WHY" and exits 0 where the build packed no extension.
import { spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';
import { makeVscodeStub, textEditor } from './vscode_stub.mjs';

const [extension, tools] = process.argv.slice(2).map((a) => path.resolve(a));
const bundle = path.join(extension, 'extension.js');
if (!fs.existsSync(bundle)) {
  console.log('skipped: the build packed no VS Code extension (npm missing or npm ci failed; see the build log of vscode_vsix)');
  process.exit(0);
}
const manifest = JSON.parse(fs.readFileSync(path.join(extension, 'package.json'), 'utf8'));
const toolsRequire = createRequire(path.join(tools, 'package.json'));
const command = 'scenarioGen.openPictureToSide';
const page = 'http://127.0.0.1:43210/';

async function waitFor(what, predicate) {
  for (let i = 0; i < 200; i++) {
    const found = predicate();
    if (found) return found;
    await new Promise((r) => setTimeout(r, 25));
  }
  assert.fail(`timed out waiting for ${what}`);
}

test('the manifest offers the command and the button on both languages, for an editor its client accepts', () => {
  const clientManifest = toolsRequire.resolve('vscode-languageclient/package.json');
  const client = JSON.parse(fs.readFileSync(clientManifest, 'utf8'));
  const semver = toolsRequire('semver');
  assert.ok(
    semver.subset(manifest.engines.vscode, client.engines.vscode),
    `engines ${manifest.engines.vscode} lets in editors ${client.engines.vscode} does not`,
  );
  const declared = manifest.contributes.commands.find((c) => c.command === command);
  assert.equal(`${declared.category}: ${declared.title}`, 'Scenario: Open picture to the side');
  const languages = manifest.contributes.languages.map((l) => l.id);
  assert.deepEqual(languages, ['scenario-line', 'scenario-train']);
  for (const [menu, group] of [['editor/title', 'navigation'], ['commandPalette', undefined]]) {
    const item = manifest.contributes.menus[menu].find((m) => m.command === command);
    assert.ok(item, `no ${menu} item`);
    assert.equal(item.group, group, menu);
    for (const id of languages) assert.match(item.when, new RegExp(`editorLangId == ${id}\\b`), menu);
  }
  assert.equal(manifest.dependencies, undefined, 'the client is bundled, not a dependency');
});

test('vsce packs the bundle, the manifest, the language files and the licences only', () => {
  const vsce = path.join(path.dirname(toolsRequire.resolve('@vscode/vsce/package.json')), 'vsce');
  const listed = spawnSync(process.execPath, [vsce, 'ls', '--no-dependencies'], {
    cwd: extension,
    encoding: 'utf8',
  });
  assert.equal(listed.status, 0, listed.stderr);
  assert.deepEqual(listed.stdout.trim().split('\n').sort(), [
    'LICENSE',
    'ThirdPartyNotices.txt',
    'extension.js',
    'language-configuration.json',
    'package.json',
    'syntaxes/scenario-line.tmLanguage.json',
    'syntaxes/scenario-train.tmLanguage.json',
  ]);
  // One file: nothing but the editor is left to require.
  const requires = fs.readFileSync(bundle, 'utf8').matchAll(/require\("([^"]+)"\)/g);
  const required = new Set([...requires].map((m) => m[1]));
  const builtins = new Set(['vscode', ...createRequire(import.meta.url)('node:module').builtinModules]);
  assert.deepEqual([...required].filter((r) => !builtins.has(r.replace(/^node:/, ''))), []);
});

// The bundle loaded afresh with a new stand-in editor for each test.
function load(stub) {
  const Module = createRequire(import.meta.url)('node:module');
  const original = Module._load;
  Module._load = function (request, ...rest) {
    return request === 'vscode' ? stub.vscode : original.call(this, request, ...rest);
  };
  const require = createRequire(import.meta.url);
  delete require.cache[bundle];
  try {
    return require(bundle);
  } finally {
    Module._load = original;
  }
}

// A folder holding the stand-in server as a program, and its message log.
function standIn() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-vscode-'));
  const program = path.join(folder, 'scenario_gen_stand_in');
  const script = path.join(path.dirname(new URL(import.meta.url).pathname), 'picture_server_stand_in.cjs');
  fs.writeFileSync(program, `#!/bin/sh\nexec '${process.execPath}' '${script}' "$@"\n`, { mode: 0o755 });
  const log = path.join(folder, 'messages.jsonl');
  process.env.PICTURE_STAND_IN_LOG = log;
  // Whole lines only: the server may be writing the next one.
  const messages = () =>
    fs.existsSync(log) ? fs.readFileSync(log, 'utf8').split('\n').slice(0, -1).map((l) => JSON.parse(l)) : [];
  return { folder, program, messages };
}

// A program that is no language server: it says why and ends, as
// scenario_gen built without one does.
function notAServer() {
  const program = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-vscode-')), 'scenario_gen');
  fs.writeFileSync(program, '#!/bin/sh\necho "built without the language server" >&2\nexit 2\n', { mode: 0o755 });
  return program;
}

test('a program missing or failing to serve is said, and the extension stays active', async () => {
  const missing = path.join(os.tmpdir(), 'no-such-folder', 'scenario_gen');
  const failing = notAServer();
  for (const [configured, said] of [
    [missing, new RegExp(`cannot find the program ${missing}.*scenarioGen\\.path`)],
    [failing, new RegExp(`${failing} lsp cannot serve: built without the language server$`)],
  ]) {
    const stub = makeVscodeStub();
    stub.editor.setConfiguration('scenarioGen.path', configured);
    const extensionMain = load(stub);
    await extensionMain.activate({ extensionPath: extension, subscriptions: [] });
    const errors = stub.calls.filter((c) => c.name === 'showErrorMessage').map((c) => c.args[0]);
    assert.equal(errors.length, 1, errors.join('\n'));
    assert.match(errors[0], said);
    assert.ok(stub.calls.some((c) => c.name === 'registerCommand' && c.args[0] === command));
    await extensionMain.deactivate();
  }
});

test('the picture opens beside the text, follows the cursor, and shows a clicked record in the text column', async (t) => {
  const stub = makeVscodeStub();
  const server = standIn();
  stub.editor.setConfiguration('scenarioGen.path', server.program);
  const line = stub.vscode.Uri.file(path.join(server.folder, 'Valle_linea.txt'));
  const editor = textEditor(line, 'scenario-line', 1, 7);
  stub.editor.show([editor]);
  const extensionMain = load(stub);
  const context = { extensionPath: extension, subscriptions: [] };
  await extensionMain.activate(context);
  t.after(() => extensionMain.deactivate());
  assert.deepEqual(stub.calls.filter((c) => c.name === 'showErrorMessage'), []);

  const registered = stub.calls.find((c) => c.name === 'registerCommand' && c.args[0] === command);
  await registered.args[1](line);
  const asked = server.messages().find((m) => m.method === 'workspace/executeCommand');
  assert.deepEqual(asked.params, { command: 'scenario_gen.showPicture', arguments: [line.toString()] });
  // The command's answer and the server's own request to show the page
  // make one panel, beside the text, not taking the focus.
  await new Promise((r) => setTimeout(r, 200));
  const panels = stub.calls.filter((c) => c.name === 'createWebviewPanel');
  assert.equal(panels.length, 1);
  const [, , show, options, panel] = panels[0].args;
  assert.deepEqual(show, { viewColumn: stub.vscode.ViewColumn.Beside, preserveFocus: true });
  assert.equal(options.enableScripts, true);
  assert.equal(stub.calls.find((c) => c.name === 'asExternalUri').args[0].toString(), page);
  const html = panel.webview.html;
  assert.match(html, /<iframe src="http:\/\/127\.0\.0\.1:43210\/"/);
  assert.match(html, /Content-Security-Policy" content="default-src 'none'; frame-src http:\/\/127\.0\.0\.1:43210;/);

  // The cursor, quietened, reaches the server; the stand-in answers as a
  // click on the page would: the record opens in the text's column.
  stub.editor.moveCursor(editor, 11);
  stub.editor.moveCursor(editor, 12);
  const cursor = await waitFor('the cursor at line 12', () =>
    server.messages().find((m) => m.method === 'scenario_gen/cursor' && m.params.position.line === 12),
  );
  assert.deepEqual(cursor.params, {
    textDocument: { uri: line.toString() },
    position: { line: 12, character: 2 },
  });
  const cursors = server.messages().filter((m) => m.method === 'scenario_gen/cursor');
  // Where it was when the picture opened, then the last of two close moves.
  assert.deepEqual(cursors.map((m) => m.params.position.line), [7, 12]);
  const shown = await waitFor('the record shown', () =>
    stub.calls.find((c) => c.name === 'showTextDocument' && c.args[1].selection.start.line === 12),
  );
  assert.equal(shown.args[0].toString(), line.toString());
  assert.equal(shown.args[1].viewColumn, 1, 'over the panel instead of in the text column');
  assert.equal(shown.args[1].preserveFocus, false);
});

test('a new scenarioGen.path starts the server again from it, and the open picture follows', async (t) => {
  const stub = makeVscodeStub();
  const first = standIn();
  stub.editor.setConfiguration('scenarioGen.path', first.program);
  const line = stub.vscode.Uri.file(path.join(first.folder, 'Valle_linea.txt'));
  stub.editor.show([textEditor(line, 'scenario-line', 1, 3)]);
  const extensionMain = load(stub);
  await extensionMain.activate({ extensionPath: extension, subscriptions: [] });
  t.after(() => extensionMain.deactivate());
  await stub.calls.find((c) => c.name === 'registerCommand' && c.args[0] === command).args[1](line);
  const panel = stub.calls.find((c) => c.name === 'createWebviewPanel').args[4];
  assert.match(panel.webview.html, /src="http:\/\/127\.0\.0\.1:43210\/"/);

  const second = standIn();
  process.env.PICTURE_STAND_IN_PAGE = 'http://127.0.0.1:43211/';
  try {
    await stub.editor.setConfiguration('scenarioGen.path', second.program);
    await waitFor('the first server told to exit', () => first.messages().some((m) => m.method === 'exit'));
    await waitFor('the second server asked for its page', () =>
      second.messages().some((m) => m.method === 'workspace/executeCommand'),
    );
  } finally {
    delete process.env.PICTURE_STAND_IN_PAGE;
  }
  await waitFor('the panel on the second page', () => panel.webview.html.includes('src="http://127.0.0.1:43211/"'));
  assert.equal(stub.calls.filter((c) => c.name === 'createWebviewPanel').length, 1);
});

test('the program is found beside the extension in the zip and the package, else on PATH', async () => {
  const layouts = [
    ['zip', 'scenario_gen/editors/vscode', 'scenario_gen'],
    ['Debian package', 'usr/share/scenario_gen/editors/vscode', 'usr/bin'],
    ['PATH', 'extensions/scenario-gen', 'tools'],
  ];
  const savedPath = process.env.PATH;
  for (const [layout, extensionFolder, programFolder] of layouts) {
    const server = standIn();
    const root = path.join(server.folder, 'root');
    fs.mkdirSync(path.join(root, extensionFolder), { recursive: true });
    fs.mkdirSync(path.join(root, programFolder), { recursive: true });
    fs.renameSync(server.program, path.join(root, programFolder, 'scenario_gen'));
    if (layout === 'PATH') process.env.PATH = `${path.join(root, programFolder)}${path.delimiter}${savedPath}`;
    const stub = makeVscodeStub();
    const extensionMain = load(stub);
    try {
      await extensionMain.activate({ extensionPath: path.join(root, extensionFolder), subscriptions: [] });
      assert.deepEqual(stub.calls.filter((c) => c.name === 'showErrorMessage'), [], layout);
      await waitFor(`the server of the ${layout}`, () => server.messages().some((m) => m.method === 'initialized'));
    } finally {
      process.env.PATH = savedPath;
      await extensionMain.deactivate();
    }
  }
});
