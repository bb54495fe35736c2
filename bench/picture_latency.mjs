// The picture's time to follow an edit: the language server with the page of
// scenario_gen.showPicture open, a station of the train description renamed
// (an unsaved edit), and the time from the edit sent to the page's event of
// the new picture, with the picture fetched and holding the new name. Each
// edit waits for the one before; prints the median and the range.
//
// Usage: node bench/picture_latency.mjs SCENARIO_GEN FOLDER [EDITS]
// FOLDER holds Max_linea.txt and Max_1-.txt (bench_make_max FOLDER, or
// bench/scaled_scenario.sh).
import {readFileSync} from 'node:fs';
import {request} from 'node:http';
import {resolve} from 'node:path';

import {LspClient, uri} from '../tests/browser/lsp_client.mjs';

const [exe, folder, count = '20'] = process.argv.slice(2);
const edits = Number(count);
const line = resolve(folder, 'Max_linea.txt');
const train = resolve(folder, 'Max_1-.txt');
const trainText = readFileSync(train, 'latin1');
const station = trainText.match(/^stazione,.*,\s*([A-Z][A-Z0-9 ]*?)\s*\r?$/m);
if (!station) throw new Error('no station to rename in ' + train);

const client = new LspClient(resolve(exe), folder);
await client.initialize({});
client.open(line, readFileSync(line, 'latin1'));
client.open(train, trainText);
const shown = await client.request('workspace/executeCommand',
                                   {command: 'scenario_gen.showPicture', arguments: [uri(train)]});
if (shown.error) throw new Error(shown.error.message);
const port = Number(shown.result.match(/:(\d+)\/$/)[1]);

// The page's event stream: the updates counted as they come.
let updates = 0;
let waiters = [];
const onUpdate = () => {
  updates++;
  for (const w of waiters.splice(0)) w();
};
const updateAfter = seen => new Promise(done => (updates > seen ? done() : waiters.push(done)));
request({host: '127.0.0.1', port, path: '/events'}, res => {
  let text = '';
  res.setEncoding('utf8');
  res.on('data', d => {
    text += d;
    for (let end; (end = text.indexOf('\n\n')) >= 0; text = text.slice(end + 2)) {
      const data = text.slice(0, end).match(/^event: update\ndata: (.*)$/m);
      if (data) onUpdate();
    }
  });
}).end();
const picture = () => fetch(`http://127.0.0.1:${port}/picture.svg`).then(r => r.text());

const times = [];
for (let i = 0; i < edits; i++) {
  const name = `${station[1].slice(0, 8)}X${i}`;
  const start = process.hrtime.bigint();
  let seen = updates;
  client.notify('textDocument/didChange', {
    textDocument: {uri: uri(train), version: i + 2},
    contentChanges: [{text: trainText.replace(station[0], station[0].replace(station[1], name))}]});
  for (;;) {
    await updateAfter(seen);
    seen = updates;
    if ((await picture()).includes(name)) break;
  }
  times.push(Number(process.hrtime.bigint() - start) / 1e6);
}
const sorted = [...times].sort((a, b) => a - b);
console.log(`edit to picture: median ${sorted[Math.floor(edits / 2)].toFixed(1)} ms over ${edits} ` +
            `edits (min ${sorted[0].toFixed(1)}, max ${sorted[edits - 1].toFixed(1)})`);
await client.end();
process.exit(0);
