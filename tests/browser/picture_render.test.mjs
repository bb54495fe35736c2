// The default run's picture as other programs render it: the elevation
// profile must show, not be painted over by the invisible hover targets.
// Renders it with ImageMagick's convert or with Debian's chromium (driven by
// playwright-core) and requires that most of the band along the foot of the
// elevation area, which the profile fills, is not white.
//
// node picture_render.test.mjs SCENARIO_GEN imagemagick|chromium
// Exits 0 when the check passes, 1 when it fails, 77 (skipped) when the
// renderer is missing. SCREENSHOTS=DIR keeps the rendered band there.
import {execFileSync} from 'node:child_process';
import {existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join, dirname} from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

const k_chromium = '/usr/bin/chromium';
const k_skip = 77;
const here = dirname(fileURLToPath(import.meta.url));

function skip(why) {
  console.log(`skipped: ${why}`);
  process.exit(k_skip);
}

const [exe, renderer] = process.argv.slice(2);
if (!exe || !['imagemagick', 'chromium'].includes(renderer)) {
  console.error('usage: node picture_render.test.mjs SCENARIO_GEN imagemagick|chromium');
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
if (renderer === 'imagemagick') {
  if (!has('convert')) skip('convert not found (Debian: imagemagick)');
  // Debian keeps the SVG reader out of the main package.
  if (!/^\s*SVG\s/m.test(execFileSync('convert', ['-list', 'format'], {encoding: 'utf8'})))
    skip('convert reads no SVG (Debian: libmagickcore-6.q16-6-extra)');
} else {
  if (!existsSync(k_chromium)) skip(`${k_chromium} not found (Debian: apt-get install chromium)`);
  if (!existsSync(join(here, 'node_modules', 'playwright-core')))
    skip(`playwright-core not installed (run npm ci in ${here})`);
}

const dir = mkdtempSync(join(tmpdir(), 'picture-render-'));
const picture = join(dir, 'route.svg');
execFileSync(exe, ['run', '-o', join(dir, 'run')], {stdio: 'ignore'});
execFileSync(exe, ['draw', join(dir, 'run'), '-o', picture], {stdio: 'ignore'});
const svg = readFileSync(picture, 'utf8');

// The elevation area is the first filled path after its panel's heading; the
// band is its lowest 40 px, filled wherever the line climbs 130 m or more.
const heading = svg.indexOf('>Elevation from the gradient');
const area = svg.slice(heading).match(/<path d="([^"]*)" fill="(?!none)[^"]*"/);
if (heading < 0 || !area) {
  console.log('FAILED: no elevation area in the picture');
  process.exit(1);
}
const points = Array.from(area[1].matchAll(/(-?[\d.]+) (-?[\d.]+)/g), m => [+m[1], +m[2]]);
const left = Math.ceil(Math.min(...points.map(p => p[0])));
const right = Math.floor(Math.max(...points.map(p => p[0])));
const foot = Math.floor(Math.max(...points.map(p => p[1])));
const band = {x: left, y: foot - 40, width: right - left, height: 38};

// The share of white pixels among RGB(A) pixels of the given stride.
function whiteShare(pixels, stride) {
  let white = 0;
  for (let i = 0; i < pixels.length; i += stride)
    white += pixels[i] >= 250 && pixels[i + 1] >= 250 && pixels[i + 2] >= 250;
  return white / (pixels.length / stride);
}

let share;
if (renderer === 'imagemagick') {
  // convert falls back on a font it may not have for a list of families.
  const ppm = execFileSync('convert', ['-font', 'DejaVu-Sans', picture, '-crop',
                                       `${band.width}x${band.height}+${band.x}+${band.y}`,
                                       '+repage', '-depth', '8', 'ppm:-'], {maxBuffer: 1 << 26});
  const header = ppm.toString('latin1', 0, 64).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  const pixels = ppm.subarray(header[0].length);
  if (process.env.SCREENSHOTS) writeFileSync(join(process.env.SCREENSHOTS, 'elevation-imagemagick.ppm'), ppm);
  share = whiteShare(pixels, 3);
} else {
  const {chromium} = await import('playwright-core');
  const profile = mkdtempSync(join(tmpdir(), 'picture-render-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: k_chromium,
    headless: true,
    viewport: {width: 1600, height: 1300},
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const page = context.pages()[0] ?? await context.newPage();
    await page.goto(pathToFileURL(picture).href);
    const png = await page.screenshot({clip: band});
    if (process.env.SCREENSHOTS) writeFileSync(join(process.env.SCREENSHOTS, 'elevation-chromium.png'), png);
    // The browser decodes its own screenshot.
    await page.goto('about:blank');
    const pixels = await page.evaluate(async base64 => {
      const bytes = Uint8Array.from(atob(base64), c => c.charCodeAt(0));
      const image = await createImageBitmap(new Blob([bytes], {type: 'image/png'}));
      const canvas = new OffscreenCanvas(image.width, image.height);
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      return Array.from(context.getImageData(0, 0, image.width, image.height).data);
    }, png.toString('base64'));
    share = whiteShare(pixels, 4);
  } finally {
    await context.close();
    rmSync(profile, {recursive: true, force: true});
  }
}
rmSync(dir, {recursive: true, force: true});
const ok = share < 0.5;
console.log(`${ok ? 'ok' : 'FAILED'}: ${renderer} shows the elevation area ` +
            `(${Math.round(share * 100)}% of the band along its foot is white)`);
process.exit(ok ? 0 : 1);
