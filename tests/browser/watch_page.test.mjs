// The page of `scenario_gen watch --serve` in a real browser (Debian's
// chromium, driven by playwright-core): it loads with the picture, takes a
// save in place and a save by rename without a reload and within a second,
// keeps its zoom, shows an error and marks the picture out of date, and its
// screenshot is not blank. On the shipped scenario at 1400 x 1000 the
// picture fits the window's width, at start and on resize, with the lanes in
// sight; started on files with an error it says there is no picture yet.
//
// node watch_page.test.mjs SCENARIO_GEN EXAMPLES_DIR
// Exits 0 when every check passes, 1 on a failure, 77 (skipped) when
// chromium, playwright-core or the page server is missing.
// SAVES=N times N saves of each kind and prints their medians;
// SCREENSHOTS=DIR keeps the screenshots there.
import {spawn} from 'node:child_process';
import {existsSync, mkdtempSync, copyFileSync, readFileSync, writeFileSync, renameSync, rmSync}
  from 'node:fs';
import {tmpdir} from 'node:os';
import {join, dirname} from 'node:path';
import {fileURLToPath} from 'node:url';
import {inflateSync} from 'node:zlib';
import {connect} from 'node:net';

import {launchChromium} from './headless_chromium.mjs';

const k_chromium = '/usr/bin/chromium';
const k_skip = 77;
const here = dirname(fileURLToPath(import.meta.url));

function skip(why) {
  console.log(`skipped: ${why}`);
  process.exit(k_skip);
}

const [exe, examples] = process.argv.slice(2);
if (!exe || !examples) {
  console.error('usage: node watch_page.test.mjs SCENARIO_GEN EXAMPLES_DIR');
  process.exit(2);
}
if (!existsSync(k_chromium)) skip(`${k_chromium} not found (Debian: apt-get install chromium)`);
if (!existsSync(join(here, 'node_modules', 'playwright-core')))
  skip(`playwright-core not installed (run npm ci in ${here})`);

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures++;
}

// A PNG is blank when its pixel data holds hardly any distinct bytes.
function distinctBytes(png) {
  const chunks = [];
  for (let at = 8; at < png.length;) {
    const length = png.readUInt32BE(at);
    const type = png.toString('ascii', at + 4, at + 8);
    if (type === 'IDAT') chunks.push(png.subarray(at + 8, at + 8 + length));
    at += 12 + length;
  }
  const seen = new Set(inflateSync(Buffer.concat(chunks)));
  return seen.size;
}

// A watch --serve of two descriptions in dir: its port and how it ended.
const running = new Set();
async function startWatch(dir, lineName, trainName) {
  const watcher = spawn(exe, ['watch', lineName, trainName, '--serve'],
                        {cwd: dir, stdio: ['ignore', 'pipe', 'pipe']});
  running.add(watcher);
  let stderr = '';
  watcher.stderr.on('data', d => { stderr += d; });
  const exited = new Promise(resolve => watcher.on('exit', (code, signal) => resolve({code, signal})));
  const port = await new Promise((resolve, reject) => {
    let out = '';
    watcher.stdout.on('data', d => {
      out += d;
      const m = out.match(/http:\/\/127\.0\.0\.1:(\d+)\//);
      if (m) resolve(m[1]);
    });
    watcher.on('exit', () => reject(new Error(`watch ended early:\n${stderr}`)));
    setTimeout(() => reject(new Error('no port printed within 10 s')), 10000);
  }).catch(e => {
    if (/built without the HTTP library/.test(stderr)) skip('scenario_gen was built without the page server');
    throw e;
  });
  return {port, watcher, exited};
}

async function stopWatch(w) {
  w.watcher.kill('SIGINT');
  const end = await w.exited;
  running.delete(w.watcher);
  check(end.code === 0, `Ctrl-C ends watch cleanly (exit ${end.code}, signal ${end.signal})`);
}

const dir = mkdtempSync(join(tmpdir(), 'watch-page-'));
const line = join(dir, 'Valle_linea.txt');
const train = join(dir, 'Valle_12-.txt');
copyFileSync(join(examples, 'Valle_linea.txt'), line);
copyFileSync(join(examples, 'Valle_12-.txt'), train);
// The shipped scenario's descriptions, as export writes them.
const shipped = mkdtempSync(join(tmpdir(), 'watch-page-shipped-'));
const exported = spawn(exe, ['export', '-o', shipped], {stdio: 'ignore'});
check(await new Promise(resolve => exported.on('exit', resolve)) === 0, 'export writes the shipped scenario');
const shippedLine = join(shipped, 'Corvale_Pianasco_linea.txt');
const shippedTrain = 'Corvale_Pianasco_4816-.txt';

const watch = await startWatch(dir, 'Valle_linea.txt', 'Valle_12-.txt');
const port = watch.port;

const {context, profile} =
    await launchChromium(k_chromium, {width: 1400, height: 1000}, 'watch-page');
try {
  const page = context.pages()[0] ?? await context.newPage();
  await page.goto(`http://127.0.0.1:${port}/`);
  await page.waitForFunction(() => document.querySelector('#stage svg') !== null);
  check(await page.locator('#stage svg text', {hasText: 'Valle'}).count() > 0,
        'the page holds the picture inline');
  check(await page.locator('#stage svg title').count() > 20, 'objects carry tooltips');
  check((await page.textContent('#diagnostics')).includes('0 errors'), 'the diagnostics say 0 errors');
  await page.evaluate(() => { window.notReloaded = true; });
  const transform = () => page.evaluate(() => document.getElementById('stage').style.transform);
  // Pointing at a station shows what it is.
  await page.locator('#stage svg title', {hasText: '; area '}).first().locator('..').hover();
  check((await page.textContent('#tip')).includes('; area ') && await page.isVisible('#tip'),
        'pointing at a station shows its tooltip');
  // The profiles' hover strips paint nothing yet take the pointer.
  await page.locator('#stage svg title', {hasText: /^gradient /}).first().locator('..').hover();
  check((await page.textContent('#tip')).startsWith('gradient ') && await page.isVisible('#tip'),
        'pointing at the elevation profile shows the gradient there');
  const before = await transform();
  await page.mouse.move(700, 300);
  await page.mouse.wheel(0, -200);
  await page.waitForFunction(t => document.getElementById('stage').style.transform !== t, before);
  check(await transform() !== before, `the wheel zooms (${before} to ${await transform()})`);
  await page.mouse.move(700, 300);
  await page.mouse.down();
  await page.mouse.move(600, 250, {steps: 4});
  await page.mouse.up();
  const panned = await transform();
  await page.click('#zoom-reset');
  const fit = await page.evaluate(() => document.getElementById('view').clientWidth /
                                        +document.querySelector('#stage svg').getAttribute('width'));
  const scale = t => +t.match(/scale\(([^)]*)\)/)[1];
  const near = (a, b) => Math.abs(a - b) < 1e-4 * b;  // the style keeps six digits
  check((await transform()).startsWith('translate(0px, 0px)') && near(scale(await transform()), fit),
        `the fit button fits the picture to the width (${await transform()}, width ratio ${fit})`);
  check(near(scale(panned), fit * Math.exp(0.5)) && !panned.startsWith('translate(0px'),
        `dragging pans (${panned})`);
  await page.click('#zoom-in');
  await page.click('#zoom-in');
  const zoomed = await transform();
  check(near(scale(zoomed), fit * 1.5625), `the buttons zoom (${zoomed})`);

  const version = () => page.evaluate(() => +document.body.dataset.version);
  // A save, then the time until the page shows it.
  async function save(how, text) {
    const before = await version();
    const start = Date.now();
    if (how === 'in place') {
      writeFileSync(line, text);
    } else {
      writeFileSync(join(dir, '.Valle_linea.txt.swp'), text);
      renameSync(join(dir, '.Valle_linea.txt.swp'), line);
    }
    await page.waitForFunction(v => +document.body.dataset.version > v, before, {timeout: 5000});
    return Date.now() - start;
  }
  const original = readFileSync(line, 'latin1');
  const steeper = original.replace('pendenza,  5000,   -8', 'pendenza,  5000,   -9');
  check(steeper !== original, 'the example has the gradient the test edits');

  const inPlace = await save('in place', steeper);
  check(inPlace < 1000, `a save in place shows within a second (${inPlace} ms)`);
  check(await page.locator('#stage svg text', {hasText: '-9 \u2030'}).count() > 0,
        'the picture shows the edit');
  const byRename = await save('by rename', original);
  check(byRename < 1000, `a save by rename shows within a second (${byRename} ms)`);
  check(await page.evaluate(() => window.notReloaded === true), 'the page was not reloaded');
  check(await page.evaluate(() => document.getElementById('stage').style.transform) === zoomed,
        'the zoom is kept');

  if (process.env.SCREENSHOTS) await page.screenshot({path: join(process.env.SCREENSHOTS, 'watch-page.png')});
  const saves = +(process.env.SAVES ?? 0);
  if (saves > 0) {
    for (const how of ['in place', 'by rename']) {
      const times = [];
      for (let i = 0; i < saves; i++) times.push(await save(how, i % 2 === 0 ? steeper : original));
      times.sort((a, b) => a - b);
      console.log(`${how}: median ${times[Math.floor(saves / 2)]} ms of ${saves} saves ` +
                  `(fastest ${times[0]}, slowest ${times[saves - 1]})`);
    }
  }

  // A broken edit: a gradient past the end of the line.
  const picture = await page.evaluate(() => document.body.dataset.picture);
  await save('by rename', original.replace('[fine]', 'pendenza,  99999,   3\r\n[fine]'));
  await page.waitForSelector('#view.stale', {timeout: 2000}).catch(() => {});
  check(await page.locator('#view.stale').count() === 1, 'the picture is marked out of date');
  check(await page.evaluate(() => document.body.dataset.picture) === picture,
        'the last good picture stays');
  const diagnostics = await page.textContent('#diagnostics');
  check(/Valle_linea\.txt:\d+(:\d+)?: error: /.test(diagnostics) && diagnostics.includes('code 15'),
        'the error shows with its file and line');
  const shot = await page.screenshot({fullPage: false});
  if (process.env.SCREENSHOTS) writeFileSync(join(process.env.SCREENSHOTS, 'watch-page-error.png'), shot);
  check(distinctBytes(shot) > 64, 'the screenshot is not blank');
  check(await page.textContent('#stale-note') === 'out of date: the last save has errors (below)',
        'after a good picture an error says it is out of date');
  await stopWatch(watch);

  await shippedScenarioFits(page);
  await noPictureYet(page);
  await oneTabTooManySaysWhy(page);
} finally {
  await context.close();
  for (const watcher of running) watcher.kill('SIGINT');
  rmSync(profile, {recursive: true, force: true});
  rmSync(dir, {recursive: true, force: true});
  rmSync(shipped, {recursive: true, force: true});
}

// Where the picture, the view and the objects of the lanes stand on the page.
function layout(page) {
  return page.evaluate(() => {
    const box = e => { const r = e.getBoundingClientRect(); return {left: r.left, right: r.right, top: r.top, bottom: r.bottom}; };
    const view = document.getElementById('view');
    const titled = Array.from(document.querySelectorAll('#stage svg g > title'))
      .filter(t => /^slowdown|^signal,|, station at /.test(t.textContent));
    return {
      view: {...box(view), width: view.clientWidth},
      picture: box(document.querySelector('#stage svg')),
      diagnostics: box(document.getElementById('diagnostics')),
      lanes: Array.from(document.querySelectorAll('#stage svg text'))
        .filter(t => ['stations', 'signals', 'slowdown'].includes(t.textContent))
        .map(t => ({what: t.textContent, ...box(t)})),
      objects: titled.map(t => ({what: t.textContent.split(',')[0], ...box(t.parentNode)})),
    };
  });
}

// The shipped scenario at 1400 x 1000: the picture as wide as the view, the
// diagnostics no taller than their status line, every station, signal and
// slowdown in sight; and again fitted after the window is made narrower.
async function shippedScenarioFits(page) {
  const w = await startWatch(shipped, 'Corvale_Pianasco_linea.txt', shippedTrain);
  await page.goto(`http://127.0.0.1:${w.port}/`);
  await page.waitForFunction(() => document.querySelector('#stage svg') !== null);
  let at = await layout(page);
  const fitsWidth = l => Math.abs(l.picture.left - l.view.left - 3) < 1 &&
                         Math.abs(l.picture.right - l.picture.left - l.view.width) < 1;
  check(fitsWidth(at), `the picture fits the window's width (${JSON.stringify(at.picture)}, view ${at.view.width} px)`);
  const inSight = (b, l) => b.top >= l.view.top && b.bottom <= l.view.bottom && b.bottom <= 1000 &&
                            b.left >= l.view.left && b.right <= l.view.right;
  check(at.lanes.length === 3 && at.lanes.every(b => inSight(b, at)),
        `the lanes are in sight at 1400 x 1000 (${at.lanes.map(b => `${b.what} ${Math.round(b.bottom)}`).join(', ')}; view to ${Math.round(at.view.bottom)})`);
  const hidden = at.objects.filter(b => !inSight(b, at));
  check(at.objects.length > 30 && hidden.length === 0,
        `every station, signal and slowdown is in sight (${at.objects.length} objects; out of sight: ${hidden.map(b => b.what).join(', ') || 'none'})`);
  check(at.diagnostics.bottom - at.diagnostics.top < 50,
        `the diagnostics take only their status line (${Math.round(at.diagnostics.bottom - at.diagnostics.top)} px)`);
  const shot = await page.screenshot();
  if (process.env.SCREENSHOTS) writeFileSync(join(process.env.SCREENSHOTS, 'watch-page-shipped.png'), shot);
  const slowdown = at.lanes.find(b => b.what === 'slowdown');
  const lane = await page.screenshot({clip: {x: at.view.left, y: slowdown.top - 12, width: at.view.width, height: 30}});
  check(distinctBytes(lane) > 16, 'the screenshot shows the slowdown lane');

  await page.setViewportSize({width: 1000, height: 800});
  await page.waitForFunction(() => Math.abs(document.querySelector('#stage svg').getBoundingClientRect().width -
                                            document.getElementById('view').clientWidth) < 1,
                             null, {timeout: 2000}).catch(() => {});
  at = await layout(page);
  check(fitsWidth(at), `after a resize the picture fits the new width (${Math.round(at.picture.right - at.picture.left)} px in ${at.view.width})`);
  await page.click('#zoom-in');
  const zoomedWidth = await page.evaluate(() => document.querySelector('#stage svg').getBoundingClientRect().width);
  check(Math.abs(zoomedWidth - at.view.width * 1.25) < 1, `the buttons still zoom after a resize (${Math.round(zoomedWidth)} px)`);
  await page.setViewportSize({width: 1400, height: 1000});
  await stopWatch(w);
}

// Started on descriptions with an error, the page says there is no picture
// yet, not that one is out of date; a good save then clears the note and a
// broken one after it says out of date.
async function noPictureYet(page) {
  const good = readFileSync(shippedLine, 'latin1');
  const broken = good.replace('[fine]', 'pendenza,  99999,   3\r\n[fine]');
  writeFileSync(shippedLine, broken, 'latin1');
  const w = await startWatch(shipped, 'Corvale_Pianasco_linea.txt', shippedTrain);
  await page.goto(`http://127.0.0.1:${w.port}/`);
  const note = () => page.evaluate(() => document.getElementById('view').classList.contains('stale')
                                         ? document.getElementById('stale-note').textContent : '');
  check(await note() === 'no picture yet: the first compile has errors (below)' &&
        await page.isVisible('#stale-note'), `started on an error the page says there is no picture yet (${await note()})`);
  check((await page.textContent('#diagnostics')).includes('code 15'), 'the first compile\'s error shows');
  const shot = await page.screenshot();
  if (process.env.SCREENSHOTS) writeFileSync(join(process.env.SCREENSHOTS, 'watch-page-no-picture-yet.png'), shot);
  check(distinctBytes(shot) > 64, 'the screenshot is not blank');
  for (const [text, expected] of [[good, ''], [broken, 'out of date: the last save has errors (below)']]) {
    const before = await page.evaluate(() => +document.body.dataset.version);
    writeFileSync(shippedLine, text, 'latin1');
    await page.waitForFunction(v => +document.body.dataset.version > v, before, {timeout: 5000});
    check(await note() === expected, `then a ${expected ? 'broken' : 'good'} save: '${await note()}'`);
  }
  writeFileSync(shippedLine, good, 'latin1');
  await stopWatch(w);
}
// With as many event streams open as the server keeps (32), one more tab
// still gets the page, and its header says the page no longer follows the
// saves.
async function oneTabTooManySaysWhy(page) {
  const w = await startWatch(dir, 'Valle_linea.txt', 'Valle_12-.txt');
  const streams = await Promise.all(Array.from({length: 32}, () => new Promise((resolve, reject) => {
    const s = connect(+w.port, '127.0.0.1', () =>
      s.write(`GET /events HTTP/1.1\r\nHost: 127.0.0.1:${w.port}\r\n\r\n`));
    s.once('data', d => resolve({s, status: d.toString('latin1').split(' ')[1]}));
    s.on('error', reject);
  })));
  check(streams.every(x => x.status === '200'), 'the server keeps 32 event streams');
  await page.goto(`http://127.0.0.1:${w.port}/`);
  check(await page.locator('#stage svg').count() === 1, 'the 33rd tab gets the page with its picture');
  await page.waitForSelector('#events-note', {timeout: 5000}).catch(() => {});
  const note = await page.locator('#events-note').textContent().catch(() => '');
  check(note.startsWith('this page no longer follows the saves: the server follows too many pages'),
        `the 33rd tab says why it does not follow the saves ('${note}')`);
  for (const {s} of streams) s.destroy();
  await stopWatch(w);
}
console.log(`${failures === 0 ? 'passed' : `${failures} checks failed`}`);
process.exit(failures === 0 ? 0 : 1);
