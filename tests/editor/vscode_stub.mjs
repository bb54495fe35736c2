// A stand-in for the `vscode` module, enough for the bundled extension and
// the language client inside it to activate and talk to a server in node.
// It records what the extension asks of the editor (commands registered,
// panels made, documents shown, messages) in `calls`, and lets a test play
// the editor's part (a configuration, the text editors, cursor moves).
import { EventEmitter as NodeEvents } from 'node:events';

// Anything the client touches that the test does not care about: a
// function returning a disposable, reachable at any depth.
function anything() {
  const target = function () {};
  return new Proxy(target, {
    get: (_, key) => (key === 'then' ? undefined : key === 'dispose' ? () => {} : anything()),
    apply: () => ({ dispose() {} }),
  });
}

function withFallback(object) {
  return new Proxy(object, { get: (o, key) => (key in o ? o[key] : anything()) });
}

class Disposable {
  constructor(callOnDispose = () => {}) {
    this.callOnDispose = callOnDispose;
  }
  static from(...items) {
    return new Disposable(() => items.forEach((i) => i && i.dispose && i.dispose()));
  }
  dispose() {
    this.callOnDispose();
  }
}

class EventEmitter {
  constructor() {
    this.events = new NodeEvents();
    this.event = (listener) => {
      this.events.on('fire', listener);
      return new Disposable(() => this.events.off('fire', listener));
    };
  }
  fire(value) {
    this.events.emit('fire', value);
  }
  dispose() {
    this.events.removeAllListeners();
  }
}

class Uri {
  constructor(scheme, authority, path) {
    Object.assign(this, { scheme, authority, path, query: '', fragment: '' });
  }
  static parse(text) {
    const url = new URL(text);
    return new Uri(url.protocol.slice(0, -1), url.host, decodeURIComponent(url.pathname));
  }
  static file(path) {
    return new Uri('file', '', path);
  }
  get fsPath() {
    return this.path;
  }
  with(change) {
    return Object.assign(new Uri(this.scheme, this.authority, this.path), change);
  }
  toString() {
    return `${this.scheme}://${this.authority}${encodeURI(this.path)}`;
  }
  toJSON() {
    return this.toString();
  }
}

class Position {
  constructor(line, character) {
    Object.assign(this, { line, character });
  }
}

class Range {
  constructor(startLine, startCharacter, endLine, endCharacter) {
    this.start = startLine instanceof Position ? startLine : new Position(startLine, startCharacter);
    this.end = startLine instanceof Position ? startCharacter : new Position(endLine, endCharacter);
  }
}

class CancellationTokenSource {
  constructor() {
    this.token = { isCancellationRequested: false, onCancellationRequested: () => new Disposable() };
  }
  cancel() {
    this.token.isCancellationRequested = true;
  }
  dispose() {}
}

// A text editor showing a description at uri in column, cursor at line.
export function textEditor(uri, languageId, viewColumn, line) {
  const document = { uri, languageId, version: 1, getText: () => '', lineCount: 40 };
  return { document, viewColumn, selection: { active: new Position(line, 4) } };
}

export function makeVscodeStub() {
  const calls = [];
  const record = (name, ...args) => calls.push({ name, args });
  const configuration = new Map();
  const listeners = { configuration: [], selection: [] };
  const window = {
    activeTextEditor: undefined,
    visibleTextEditors: [],
    createOutputChannel: (name) =>
      withFallback({ name, appendLine: () => {}, append: () => {}, dispose: () => {} }),
    showErrorMessage: async (...args) => record('showErrorMessage', ...args),
    showInformationMessage: async (...args) => record('showInformationMessage', ...args),
    showWarningMessage: async (...args) => record('showWarningMessage', ...args),
    showTextDocument: async (uri, options) => record('showTextDocument', uri, options),
    createWebviewPanel: (viewType, title, show, options) => {
      const disposed = new EventEmitter();
      const panel = {
        viewType,
        title,
        viewColumn: 2,
        webview: { html: '', cspSource: 'vscode-webview:' },
        reveal: (...args) => record('reveal', ...args),
        onDidDispose: disposed.event,
        dispose: () => disposed.fire(),
      };
      record('createWebviewPanel', viewType, title, show, options, panel);
      return panel;
    },
    onDidChangeTextEditorSelection: (listener) => {
      listeners.selection.push(listener);
      return new Disposable();
    },
  };
  const workspace = {
    workspaceFolders: undefined,
    textDocuments: [],
    getConfiguration: (section) => ({
      get: (key, fallback) => configuration.get(`${section}.${key}`) ?? fallback,
      has: (key) => configuration.has(`${section}.${key}`),
    }),
    onDidChangeConfiguration: (listener) => {
      listeners.configuration.push(listener);
      return new Disposable();
    },
    createFileSystemWatcher: () => withFallback({ dispose() {} }),
  };
  const vscode = {
    version: '1.82.0',
    Disposable,
    EventEmitter,
    Uri,
    Position,
    Range,
    Selection: Range,
    CancellationTokenSource,
    ViewColumn: { Active: -1, Beside: -2, One: 1, Two: 2, Three: 3 },
    window: withFallback(window),
    workspace: withFallback(workspace),
    commands: withFallback({
      registerCommand: (id, callback) => {
        record('registerCommand', id, callback);
        return new Disposable();
      },
      executeCommand: async (...args) => record('executeCommand', ...args),
    }),
    env: withFallback({
      language: 'en',
      asExternalUri: async (uri) => {
        record('asExternalUri', uri);
        return uri;
      },
    }),
    l10n: { t: (text) => text },
  };
  const editor = {
    // The setting changed, as the settings editor would.
    setConfiguration(key, value) {
      configuration.set(key, value);
      const event = { affectsConfiguration: (section) => key === section || key.startsWith(section + '.') };
      return Promise.all(listeners.configuration.map((l) => l(event)));
    },
    show(editors) {
      window.visibleTextEditors = editors;
      window.activeTextEditor = editors[0];
    },
    moveCursor(textEditor, line) {
      textEditor.selection = { active: new Position(line, 2) };
      for (const l of listeners.selection) l({ textEditor });
    },
  };
  return { vscode: withFallback(vscode), calls, editor };
}
