// A small client of `scenario_gen lsp` for the tests of the picture: it
// frames messages, answers the server's own requests (window/showDocument)
// and keeps them, and waits for answers and requests by predicate.
import {spawn} from 'node:child_process';
import {pathToFileURL} from 'node:url';

export class LspClient {
  constructor(exe, cwd) {
    this.server = spawn(exe, ['lsp'], {cwd, stdio: ['pipe', 'pipe', 'pipe']});
    this.received = [];
    this.waiters = [];
    this.nextId = 1;
    this.stderr = '';
    let buffer = Buffer.alloc(0);
    this.server.stderr.on('data', d => { this.stderr += d; });
    this.server.stdout.on('data', d => {
      buffer = Buffer.concat([buffer, d]);
      for (;;) {
        const end = buffer.indexOf('\r\n\r\n');
        if (end < 0) return;
        const length = +buffer.subarray(0, end).toString().match(/Content-Length: (\d+)/)[1];
        if (buffer.length < end + 4 + length) return;
        const message = JSON.parse(buffer.subarray(end + 4, end + 4 + length).toString());
        buffer = buffer.subarray(end + 4 + length);
        this.take(message);
      }
    });
    this.exited = new Promise(resolve => this.server.on('exit', code => resolve(code)));
  }

  take(message) {
    // The server's own request gets a success, as an editor that opened it.
    if (message.method && message.id !== undefined)
      this.send({jsonrpc: '2.0', id: message.id, result: {success: true}});
    this.received.push({at: Date.now(), message});
    for (const w of [...this.waiters]) w();
  }

  send(message) {
    const body = Buffer.from(JSON.stringify(message));
    this.server.stdin.write(`Content-Length: ${body.length}\r\n\r\n`);
    this.server.stdin.write(body);
  }

  notify(method, params) { this.send({jsonrpc: '2.0', method, params}); }

  request(method, params) {
    const id = this.nextId++;
    this.send({jsonrpc: '2.0', id, method, params});
    return this.waitFor(m => m.id === id && m.method === undefined);
  }

  // The first message received from index from on that test accepts.
  waitFor(test, timeout = 5000, from = 0) {
    return new Promise((resolve, reject) => {
      const look = () => {
        const found = this.received.slice(from).find(r => test(r.message));
        if (!found) return false;
        this.waiters = this.waiters.filter(w => w !== look);
        clearTimeout(timer);
        resolve(found.message);
        return true;
      };
      const timer = setTimeout(() => {
        this.waiters = this.waiters.filter(w => w !== look);
        reject(new Error(`no such message within ${timeout} ms; stderr: ${this.stderr}`));
      }, timeout);
      if (!look()) this.waiters.push(look);
    });
  }

  async initialize(capabilities) {
    const answer = await this.request('initialize', {capabilities});
    this.notify('initialized', {});
    return answer;
  }

  open(path, text) {
    this.notify('textDocument/didOpen', {textDocument: {uri: uri(path), languageId: 'x', version: 1, text}});
  }

  async end() {
    await this.request('shutdown', null);
    this.notify('exit', null);
    return this.exited;
  }
}

export function uri(path) { return pathToFileURL(path).href; }
