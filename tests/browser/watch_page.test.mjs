// The page of `scenario_gen watch --serve` in a real browser (Debian's
// chromium, driven by playwright-core): it loads with the picture, takes a
// save in place and a save by rename without a reload and within a second,
// keeps its zoom, shows an error and marks the picture out of date, and its
// screenshot is not blank.
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
const {chromium} = await import('playwright-core');

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

const dir = mkdtempSync(join(tmpdir(), 'watch-page-'));
const line = join(dir, 'Valle_linea.txt');
const train = join(dir, 'Valle_12-.txt');
copyFileSync(join(examples, 'Valle_linea.txt'), line);
copyFileSync(join(examples, 'Valle_12-.txt'), train);

const watcher = spawn(exe, ['watch', 'Valle_linea.txt', 'Valle_12-.txt', '--serve'],
                      {cwd: dir, stdio: ['ignore', 'pipe', 'pipe']});
let stderr = '';
watcher.stderr.on('data', d => { stderr += d; });
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
const exited = new Promise(resolve => watcher.on('exit', (code, signal) => resolve({code, signal})));

const profile = mkdtempSync(join(tmpdir(), 'watch-page-profile-'));
// Without the network flags chromium waits on services a closed network
// never answers.
const context = await chromium.launchPersistentContext(profile, {
  executablePath: k_chromium,
  headless: true,
  viewport: {width: 1400, height: 1000},
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
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
  await page.mouse.move(700, 300);
  await page.mouse.wheel(0, -200);
  await page.waitForFunction(() => document.getElementById('stage').style.transform.includes('scale(1.6'));
  check((await transform()).includes('scale(1.6'), `the wheel zooms (${await transform()})`);
  await page.mouse.move(700, 300);
  await page.mouse.down();
  await page.mouse.move(600, 250, {steps: 4});
  await page.mouse.up();
  const panned = await transform();
  await page.click('#zoom-reset');
  check((await transform()) === 'translate(0px, 0px) scale(1)', 'the reset button shows the whole picture');
  check(panned.includes('scale(1.6') && !panned.startsWith('translate(0px'), `dragging pans (${panned})`);
  await page.click('#zoom-in');
  await page.click('#zoom-in');
  const zoomed = await transform();
  check(zoomed.includes('scale(1.5625)'), `the buttons zoom (${zoomed})`);

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
} finally {
  await context.close();
  watcher.kill('SIGINT');
  const end = await exited;
  check(end.code === 0, `Ctrl-C ends watch cleanly (exit ${end.code}, signal ${end.signal})`);
  rmSync(profile, {recursive: true, force: true});
  rmSync(dir, {recursive: true, force: true});
}
console.log(`${failures === 0 ? 'passed' : `${failures} checks failed`}`);
process.exit(failures === 0 ? 0 : 1);
