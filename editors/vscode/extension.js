// The VS Code side of scenario_gen's descriptions: starts `scenario_gen lsp`
// for the line and train descriptions and hands it their text. Everything
// it shows (diagnostics, hover, completion, quick fixes, outline,
// formatting, kilometre hints) comes from the server.
'use strict';
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate(context) {
  const program = vscode.workspace.getConfiguration('scenarioGen').get('path') || 'scenario_gen';
  const server = { command: program, args: ['lsp'] };
  client = new LanguageClient('scenarioGen', 'scenario_gen', server, {
    documentSelector: [
      { scheme: 'file', language: 'scenario-line' },
      { scheme: 'file', language: 'scenario-train' },
    ],
    // A description saved by another program re-checks those checked against it.
    synchronize: { fileEvents: vscode.workspace.createFileSystemWatcher('**/*.txt') },
  });
  context.subscriptions.push({ dispose: () => client && client.stop() });
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
