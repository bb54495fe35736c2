// The one way the browser tests start Debian's chromium: headless, in a new
// profile folder (named after the test) that the caller removes, with the
// flags a closed network needs: without them chromium waits on services
// that never answer.
import {mkdtempSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

export async function launchChromium(executablePath, viewport, name) {
  const {chromium} = await import('playwright-core');
  const profile = mkdtempSync(join(tmpdir(), `${name}-profile-`));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath,
    headless: true,
    viewport,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {context, profile};
}
