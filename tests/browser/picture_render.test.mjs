// The default run's picture as other programs render it, each called as a
// user would, with no option: the elevation profile must show, not be
// painted over by the invisible hover targets, and the station names must
// be written. Renders it with ImageMagick's convert, librsvg's rsvg-convert,
// Inkscape, or Debian's chromium (driven by playwright-core), and requires
// that the renderer succeeds, that most of the band along the foot of the
// elevation area, which the profile fills, is not white, and that the box of
// each station name holds dark pixels.
//
// node picture_render.test.mjs SCENARIO_GEN imagemagick|rsvg|inkscape|chromium
// Exits 0 when the check passes, 1 when it fails, 77 (skipped) when the
// renderer is missing. SCREENSHOTS=DIR keeps the rendered picture there.
import {execFileSync} from 'node:child_process';
import {existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, dirname} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';
import {inflateSync} from 'node:zlib';

import {launchChromium} from './headless_chromium.mjs';

const k_chromium = '/usr/bin/chromium';
const k_skip = 77;
const here = dirname(fileURLToPath(import.meta.url));

function skip(why) {
  console.log(`skipped: ${why}`);
  process.exit(k_skip);
}
function fail(why) {
  console.log(`FAILED: ${why}`);
  process.exit(1);
}

// Each renderer: the program it needs, what to install, and how it turns
// the picture into a PNG on stdout with no option of its own.
const k_renderers = {
  imagemagick: {program: 'convert', install: 'imagemagick', args: svg => [svg, 'png:-']},
  rsvg: {program: 'rsvg-convert', install: 'librsvg2-bin', args: svg => [svg]},
  inkscape: {program: 'inkscape', install: 'inkscape',
             args: svg => [svg, '--export-type=png', '--export-filename=-']},
  chromium: {program: k_chromium, install: 'chromium'},
};

const [exe, renderer] = process.argv.slice(2);
if (!exe || !(renderer in k_renderers)) {
  console.error(`usage: node picture_render.test.mjs SCENARIO_GEN ${Object.keys(k_renderers).join('|')}`);
  process.exit(2);
}
const has = program => {
  try {
    execFileSync('sh', ['-c', `command -v ${program}`], {stdio: 'ignore'});
    return true;
  } catch {
    return false;
  }
};
const {program, install} = k_renderers[renderer];
if (!has(program)) skip(`${program} not found (Debian: ${install})`);
if (renderer === 'imagemagick' &&
    !/^\s*SVG\s/m.test(execFileSync('convert', ['-list', 'format'], {encoding: 'utf8'})))
  skip('convert reads no SVG (Debian: libmagickcore-6.q16-6-extra)');  // kept out of the main package
if (renderer === 'chromium' && !existsSync(join(here, 'node_modules', 'playwright-core')))
  skip(`playwright-core not installed (run npm ci in ${here})`);

const dir = mkdtempSync(join(tmpdir(), 'picture-render-'));
const picture = join(dir, 'route.svg');
execFileSync(exe, ['run', '-o', join(dir, 'run')], {stdio: 'ignore'});
execFileSync(exe, ['draw', join(dir, 'run'), '-o', picture], {stdio: 'ignore'});
const svg = readFileSync(picture, 'utf8');
const [, pictureWidth, pictureHeight] = svg.match(/<svg [^>]*width="([\d.]+)" height="([\d.]+)"/);

// The elevation area is the first filled path after its panel's heading; the
// band is its lowest 40 px, filled wherever the line climbs 130 m or more.
const heading = svg.indexOf('>Elevation from the gradient');
const area = svg.slice(heading).match(/<path d="([^"]*)" fill="(?!none)[^"]*"/);
if (heading < 0 || !area) fail('no elevation area in the picture');
const points = Array.from(area[1].matchAll(/(-?[\d.]+) (-?[\d.]+)/g), m => [+m[1], +m[2]]);
const left = Math.ceil(Math.min(...points.map(p => p[0])));
const right = Math.floor(Math.max(...points.map(p => p[0])));
const foot = Math.floor(Math.max(...points.map(p => p[1])));
const band = {x: left, y: foot - 40, width: right - left, height: 38};

// The station names of the plan: 12 px labels centred on x, their baseline
// at y; the box is the middle half of a name's width, from its x-height up.
const names = Array.from(
    svg.matchAll(/<text x="([\d.]+)" y="([\d.]+)" font-size="12" text-anchor="middle">([A-Za-z -]+)</g),
    m => ({name: m[3], x: +m[1], y: +m[2], width: m[3].length * 7}));
if (names.length < 2) fail('no station names in the picture');

// A PNG's pixels as RGBA, 8 bits a sample: 8 or 16 bits a sample, grey, RGB
// or RGBA, not interlaced, which is what every renderer here writes.
function decodePng(png) {
  let at = 8, width = 0, height = 0, channels = 0, bytes = 1;
  const data = [];
  while (at < png.length) {
    const length = png.readUInt32BE(at);
    const type = png.toString('latin1', at + 4, at + 8);
    const body = png.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (![8, 16].includes(body[8]) || body[12] !== 0)
        fail(`unexpected PNG: depth ${body[8]}, interlace ${body[12]}`);
      bytes = body[8] / 8;
      channels = {0: 1, 2: 3, 4: 2, 6: 4}[body[9]];
      if (!channels) fail(`unexpected PNG colour type ${body[9]}`);
    }
    if (type === 'IDAT') data.push(body);
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const pixel = channels * bytes, stride = width * pixel, out = Buffer.alloc(width * height * 4);
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= pixel ? row[i - pixel] : 0, b = previous[i];
      const c = i >= pixel ? previous[i - pixel] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      row[i] = (row[i] + predictor) & 255;
    }
    for (let x = 0; x < width; ++x) {
      // The high byte of each sample.
      const sample = k => row[x * pixel + k * bytes], d = (y * width + x) * 4;
      const grey = channels <= 2;
      out[d] = sample(0);
      out[d + 1] = sample(grey ? 0 : 1);
      out[d + 2] = sample(grey ? 0 : 2);
      out[d + 3] = channels === 2 ? sample(1) : channels === 4 ? sample(3) : 255;
    }
    previous = row;
  }
  return {width, height, pixels: out};
}

async function renderWithChromium() {
  const {context, profile} = await launchChromium(
      k_chromium, {width: Math.ceil(+pictureWidth), height: Math.ceil(+pictureHeight)},
      'picture-render');
  try {
    const page = context.pages()[0] ?? await context.newPage();
    await page.goto(pathToFileURL(picture).href);
    return await page.screenshot();
  } finally {
    await context.close();
    rmSync(profile, {recursive: true, force: true});
  }
}

let png;
if (renderer === 'chromium') {
  png = await renderWithChromium();
} else {
  try {
    png = execFileSync(program, k_renderers[renderer].args(picture),
                       {maxBuffer: 1 << 28, stdio: ['ignore', 'pipe', 'pipe']});
  } catch (e) {
    fail(`${program} exited ${e.status}: ${String(e.stderr).trim()}`);
  }
}
if (process.env.SCREENSHOTS) writeFileSync(join(process.env.SCREENSHOTS, `picture-${renderer}.png`), png);
const image = decodePng(png);
rmSync(dir, {recursive: true, force: true});

// Pixels of a box: how many are white, how many dark.
function count(box) {
  let white = 0, dark = 0, all = 0;
  for (let y = Math.max(0, Math.floor(box.y)); y < Math.min(image.height, box.y + box.height); ++y)
    for (let x = Math.max(0, Math.floor(box.x)); x < Math.min(image.width, box.x + box.width); ++x) {
      const i = (y * image.width + x) * 4;
      const [r, g, b] = [image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]];
      white += r >= 250 && g >= 250 && b >= 250;
      dark += r + g + b < 3 * 128;
      ++all;
    }
  return {white, dark, all};
}

const elevation = count(band);
const share = elevation.white / elevation.all;
const blank = names.filter(n => count({x: n.x - n.width / 4, y: n.y - 8, width: n.width / 2, height: 8}).dark < 5)
                   .map(n => n.name);
const ok = share < 0.5 && blank.length === 0;
console.log(`${ok ? 'ok' : 'FAILED'}: ${renderer} shows the elevation area ` +
            `(${Math.round(share * 100)}% of the band along its foot is white) and ` +
            (blank.length ? `leaves out the names ${blank.join(', ')}` : `writes all ${names.length} station names`));
process.exit(ok ? 0 : 1);
