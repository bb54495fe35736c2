// The VS Code side of scenario_gen's descriptions: starts `scenario_gen lsp`
// for the line and train descriptions and hands it their text. Everything
// it shows (diagnostics, hover, completion, quick fixes, outline,
// formatting, kilometre hints, the picture) comes from the server; this
// file finds the program, keeps one client running with the configured
// one, and shows the server's picture page in a panel beside the text.
'use strict';
const childProcess = require('child_process');
const fs = require('fs');
const path = require('path');
const vscode = require('vscode');
const { LanguageClient, State } = require('vscode-languageclient/node');

const LANGUAGES = ['scenario-line', 'scenario-train'];
const PROGRAM = process.platform === 'win32' ? 'scenario_gen.exe' : 'scenario_gen';
// The server's page is always on the loopback address; only such an
// address is taken into the panel, any other goes to the browser.
const PAGE_ADDRESS = /^http:\/\/127\.0\.0\.1:[0-9]{1,5}\/$/;
// Cursor moves closer than this are one move for the page's mark.
const CURSOR_QUIET_MS = 150;

let client;
let extensionPath = '';
// The panel showing the page, the address it shows, and the column of the
// text it was opened beside (where a click on the page shows the record).
let panel;
let panelAddress;
let textColumn;
let cursorTimer;
// Starts and stops of the client, one after the other: a setting changed
// twice quickly must not leave two servers running.
let lifecycle = Promise.resolve();

function inTurn(step) {
  lifecycle = lifecycle.then(step, step);
  return lifecycle;
}

function isDescription(document) {
  return document !== undefined && LANGUAGES.includes(document.languageId);
}

function isFile(candidate) {
  try {
    return fs.statSync(candidate).isFile();
  } catch {
    return false;
  }
}

// The names a bare program name has on PATH: Windows also tries PATHEXT.
function namesOf(name) {
  if (process.platform !== 'win32' || path.extname(name) !== '') return [name];
  const extensions = (process.env.PATHEXT || '.EXE').split(';').filter((e) => e !== '');
  return [name, ...extensions.map((e) => name + e.toLowerCase())];
}

function onPath(name) {
  for (const folder of (process.env.PATH || '').split(path.delimiter)) {
    if (folder === '') continue;
    for (const n of namesOf(name)) {
      if (isFile(path.join(folder, n))) return path.join(folder, n);
    }
  }
  return undefined;
}

// The program to start and, when there is none, where it was looked for.
// The default name is looked for beside the extension first: in the zip
// the extension's folder is editors/vscode beside the program, in the
// Debian package share/scenario_gen/editors/vscode under the program's bin/.
function findProgram(configured, extensionFolder) {
  const name = configured === undefined || configured.trim() === '' ? 'scenario_gen' : configured;
  if (name !== 'scenario_gen') {
    if (name.includes('/') || name.includes('\\')) {
      return isFile(name) ? { program: name } : { looked: [name] };
    }
    const found = onPath(name);
    return found ? { program: found } : { looked: ['PATH'] };
  }
  const beside = [
    path.join(extensionFolder, '..', '..', PROGRAM),
    path.join(extensionFolder, '..', '..', '..', '..', 'bin', PROGRAM),
  ];
  for (const candidate of beside) {
    if (isFile(candidate)) return { program: path.resolve(candidate) };
  }
  const found = onPath(PROGRAM);
  return found ? { program: found } : { looked: [...beside.map((b) => path.resolve(b)), 'PATH'] };
}

// Why the program cannot be a language server, or undefined when it can:
// one built without the server ends at once with status 2 and says why
// (that said once here, rather than the client starting it again and
// again). Given no input a server ends with status 0 or 1.
function refusal(program) {
  return new Promise((resolve) => {
    const child = childProcess.spawn(program, ['lsp'], { stdio: ['pipe', 'ignore', 'pipe'] });
    let said = '';
    child.stderr.on('data', (text) => (said += text));
    child.on('error', (e) => resolve(e.message));
    child.on('close', (status) => resolve(status === 2 ? said.trim() || 'it ended with status 2' : undefined));
    child.stdin.end();
  });
}

async function sayNotFound(configured, looked) {
  const where = looked.map((l) => (l === 'PATH' ? 'on PATH' : l)).join(', ');
  const what = configured && configured !== 'scenario_gen' ? configured : PROGRAM;
  const choice = await vscode.window.showErrorMessage(
    `scenario_gen: cannot find the program ${what} (looked ${where}). ` +
      'Set scenarioGen.path to the scenario_gen program.',
    'Open Settings',
  );
  if (choice === 'Open Settings') {
    await vscode.commands.executeCommand('workbench.action.openSettings', 'scenarioGen.path');
  }
}

// The column where a record clicked on the page is shown: the one already
// showing its description, else one with text in it, never the panel's.
function columnFor(uri) {
  const editors = vscode.window.visibleTextEditors;
  const showing = editors.find((e) => e.document.uri.toString() === uri.toString());
  if (showing && showing.viewColumn !== undefined) return showing.viewColumn;
  if (textColumn !== undefined) return textColumn;
  const panelColumn = panel ? panel.viewColumn : undefined;
  const other = editors.find((e) => e.viewColumn !== undefined && e.viewColumn !== panelColumn);
  if (other) return other.viewColumn;
  return panelColumn === vscode.ViewColumn.One ? vscode.ViewColumn.Two : vscode.ViewColumn.One;
}

function rangeOf(selection) {
  return new vscode.Range(
    selection.start.line,
    selection.start.character,
    selection.end.line,
    selection.end.character,
  );
}

// window/showDocument from the server: its page goes into the panel
// rather than a browser, a record (a click on the page) into the text
// column beside the panel rather than over it.
async function showDocument(params, next) {
  if (params.external) {
    if (!PAGE_ADDRESS.test(params.uri)) return next(params);
    await showPanel(params.uri);
    return { success: true };
  }
  const uri = vscode.Uri.parse(params.uri);
  const options = { viewColumn: columnFor(uri), preserveFocus: params.takeFocus !== true };
  if (params.selection) options.selection = rangeOf(params.selection);
  try {
    await vscode.window.showTextDocument(uri, options);
    return { success: true };
  } catch {
    return { success: false };
  }
}

function escaped(text) {
  return text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

// The panel's document: the page in a frame filling it. The policy lets
// in that frame and nothing else.
function panelHtml(page) {
  const origin = `${page.scheme}://${page.authority}`;
  return `<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; frame-src ${escaped(origin)}; style-src 'unsafe-inline';">
<style>html, body, iframe { margin: 0; padding: 0; border: 0; width: 100%; height: 100%; overflow: hidden; }</style>
</head>
<body><iframe src="${escaped(page.toString(true))}" title="The scenario's picture"></iframe></body>
</html>
`;
}

// Shows the page at address in the panel beside the text, making the
// panel on first use. The server answers the command and may also ask to
// show the page: both come here, and the second leaves the frame alone.
async function showPanel(address) {
  if (!panel) {
    panel = vscode.window.createWebviewPanel(
      'scenarioGen.picture',
      'Scenario picture',
      { viewColumn: vscode.ViewColumn.Beside, preserveFocus: true },
      { enableScripts: true },
    );
    panel.onDidDispose(() => {
      panel = undefined;
      panelAddress = undefined;
    });
  } else {
    panel.reveal(undefined, true);
  }
  if (panelAddress === address) return;
  panelAddress = address;
  const page = await vscode.env.asExternalUri(vscode.Uri.parse(address));
  if (panel && panelAddress === address) panel.webview.html = panelHtml(page);
}

function sendCursor(editor) {
  if (!client || !panel || !editor || !isDescription(editor.document)) return;
  const at = editor.selection.active;
  // A mark is a hint: one lost while the server restarts is no fault.
  client
    .sendNotification('scenario_gen/cursor', {
      textDocument: { uri: editor.document.uri.toString() },
      position: { line: at.line, character: at.character },
    })
    .catch(() => {});
}

// While the picture is open, the page marks the object under the cursor.
function cursorMoved(event) {
  if (!panel || !isDescription(event.textEditor.document)) return;
  clearTimeout(cursorTimer);
  cursorTimer = setTimeout(() => sendCursor(event.textEditor), CURSOR_QUIET_MS);
}

async function askForPage(uri) {
  try {
    return await client.sendRequest('workspace/executeCommand', {
      command: 'scenario_gen.showPicture',
      arguments: [uri.toString()],
    });
  } catch (e) {
    vscode.window.showErrorMessage(`scenario_gen: no picture: ${e.message}`);
    return undefined;
  }
}

// "Scenario: Open picture to the side": the editor-title button passes the
// description's URI, the command palette none (the active editor's then).
async function openPicture(resource) {
  const editor = vscode.window.activeTextEditor;
  const uri = resource instanceof vscode.Uri ? resource : editor && editor.document.uri;
  if (!uri || (!resource && !isDescription(editor.document))) {
    vscode.window.showInformationMessage('scenario_gen: open a line or train description first.');
    return;
  }
  if (!client) {
    await inTurn(startClient);
    if (!client) return;
  }
  const address = await askForPage(uri);
  if (address === undefined) return;
  if (typeof address !== 'string' || !PAGE_ADDRESS.test(address)) {
    vscode.window.showErrorMessage(`scenario_gen: the server gave no page address (${JSON.stringify(address)}).`);
    return;
  }
  if (editor && editor.viewColumn !== undefined) textColumn = editor.viewColumn;
  await showPanel(address);
  sendCursor(editor);
}

async function startClient() {
  const configured = vscode.workspace.getConfiguration('scenarioGen').get('path');
  const found = findProgram(configured, extensionPath);
  if (!found.program) {
    sayNotFound(configured, found.looked);
    return;
  }
  const refused = await refusal(found.program);
  if (refused !== undefined) {
    vscode.window.showErrorMessage(`scenario_gen: ${found.program} lsp cannot serve: ${refused}`);
    return;
  }
  client = new LanguageClient('scenarioGen', 'scenario_gen', { command: found.program, args: ['lsp'] }, {
    documentSelector: LANGUAGES.map((language) => ({ scheme: 'file', language })),
    // A description saved by another program re-checks those checked against it.
    synchronize: { fileEvents: vscode.workspace.createFileSystemWatcher('**/*.txt') },
    middleware: { window: { showDocument: showDocument } },
  });
  client.onDidChangeState((change) => {
    if (change.newState === State.Running) followNewServer();
  });
  try {
    await client.start();
  } catch (e) {
    // Said here rather than failing the extension's activation: the
    // grammars still colour, and a new scenarioGen.path tries again.
    await stopClient().catch(() => {});
    vscode.window.showErrorMessage(
      `scenario_gen: ${found.program} lsp did not start (${e.message}); what it said is in Output > scenario_gen.`,
    );
  }
}

async function stopClient() {
  const stopping = client;
  client = undefined;
  if (stopping) await stopping.stop();
}

// A new scenarioGen.path takes effect at once: the server is started
// again from it.
async function restartClient() {
  await stopClient();
  await startClient();
}

// A server started anew (from a new path, or again after a crash) serves
// its page on a port of its own: an open picture moves to it.
async function followNewServer() {
  if (!panel) return;
  const editors = vscode.window.visibleTextEditors.filter((e) => isDescription(e.document));
  const editor = editors.find((e) => e.viewColumn === textColumn) || editors[0];
  if (!editor) return;
  const address = await askForPage(editor.document.uri);
  if (typeof address === 'string' && PAGE_ADDRESS.test(address)) await showPanel(address);
}

function activate(context) {
  extensionPath = context.extensionPath;
  context.subscriptions.push(
    vscode.commands.registerCommand('scenarioGen.openPictureToSide', openPicture),
    vscode.window.onDidChangeTextEditorSelection(cursorMoved),
    vscode.workspace.onDidChangeConfiguration((e) => {
      if (e.affectsConfiguration('scenarioGen.path')) inTurn(restartClient);
    }),
    { dispose: () => stopClient() },
  );
  return inTurn(startClient);
}

function deactivate() {
  clearTimeout(cursorTimer);
  return stopClient();
}

module.exports = { activate, deactivate };
