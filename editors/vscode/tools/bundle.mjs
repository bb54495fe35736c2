// Bundles the extension and the client library it requires into one file,
// and writes beside it the licences of the packages that went into it.
// `vscode` stays outside: the editor provides it.
//
// Usage: node bundle.mjs EXTENSION.js OUTPUT_FOLDER
// (run from the folder holding node_modules, as npm ci made it)
import { build } from 'esbuild';
import fs from 'node:fs';
import path from 'node:path';

const [entry, output] = process.argv.slice(2);
const result = await build({
  entryPoints: [entry],
  bundle: true,
  platform: 'node',
  format: 'cjs',
  // VS Code 1.82 runs its extensions in Node 18.
  target: 'node18',
  external: ['vscode'],
  nodePaths: [path.resolve('node_modules')],
  minify: true,
  legalComments: 'none',
  metafile: true,
  outfile: path.join(output, 'extension.js'),
  logLevel: 'warning',
});

// The package folders the bundle took code from, each once.
const packages = new Set();
for (const input of Object.keys(result.metafile.inputs)) {
  const at = input.lastIndexOf('node_modules/');
  if (at < 0) continue;
  const parts = input.slice(at + 'node_modules/'.length).split('/');
  const name = parts[0].startsWith('@') ? parts.slice(0, 2).join('/') : parts[0];
  packages.add(input.slice(0, at) + 'node_modules/' + name);
}
const notices = [...packages].sort().map((folder) => {
  const manifest = JSON.parse(fs.readFileSync(path.join(folder, 'package.json'), 'utf8'));
  const licence = fs.readdirSync(folder).find((f) => /^licen[cs]e/i.test(f));
  if (!licence) throw new Error(`${manifest.name} has no licence file to ship`);
  const text = fs.readFileSync(path.join(folder, licence), 'utf8').trim();
  return `${manifest.name} ${manifest.version}\n\n${text}\n`;
});
fs.writeFileSync(
  path.join(output, 'ThirdPartyNotices.txt'),
  'The extension bundles these packages from npm, under these licences.\n\n' +
    notices.join('\n' + '-'.repeat(72) + '\n\n'),
);
