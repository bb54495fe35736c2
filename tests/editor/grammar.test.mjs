// The generated TextMate grammars tokenised with the libraries VS Code uses
// (vscode-textmate on vscode-oniguruma), on the shipped scenario's and the
// documented example's descriptions: every keyword field gets the keyword
// scope, every number a numeric scope, every section header its own.
//
// Usage: node grammar.test.mjs SCENARIO_GEN EDITORS_FOLDER EXAMPLES_FOLDER
// Prints "skipped: WHY" and exits 0 where the libraries are missing.
import { spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const [exe, editors, examples] = process.argv.slice(2).map((a) => path.resolve(a));
const require = createRequire(import.meta.url);
let textmate, oniguruma;
try {
  textmate = require('vscode-textmate');
  oniguruma = require('vscode-oniguruma');
} catch {
  console.log('skipped: vscode-textmate or vscode-oniguruma not installed (npm ci in tests/editor)');
  process.exit(0);
}
const wasm = fs.readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm')).buffer;
await oniguruma.loadWASM(wasm);
const registry = new textmate.Registry({
  onigLib: Promise.resolve({
    createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
    createOnigString: (s) => new oniguruma.OnigString(s),
  }),
  loadGrammar: async (scopeName) => {
    const id = scopeName.replace(/^source\./, '');
    const file = path.join(editors, 'vscode', 'syntaxes', id + '.tmLanguage.json');
    return textmate.parseRawGrammar(fs.readFileSync(file, 'utf8'), file);
  },
});

const shipped = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-grammar-'));
const exported = spawnSync(exe, ['export', '-o', shipped]);
assert.equal(exported.status, 0, exported.stderr.toString());
const files = [
  ...fs.readdirSync(shipped).filter((f) => /_linea\.txt$|-\.txt$/.test(f)).map((f) => path.join(shipped, f)),
  path.join(examples, 'Valle_linea.txt'), path.join(examples, 'Valle_12-.txt'),
];
assert.equal(files.length, 4);

let checked = 0;
for (const file of files) {
  const scope = file.endsWith('_linea.txt') ? 'source.scenario-line' : 'source.scenario-train';
  const grammar = await registry.loadGrammar(scope);
  let stack = textmate.INITIAL;
  const text = new TextDecoder('windows-1252').decode(fs.readFileSync(file));
  for (const line of text.split(/\r?\n/)) {
    const { tokens, ruleStack } = grammar.tokenizeLine(line, stack);
    stack = ruleStack;
    const scopesAt = (i) => tokens.find((t) => t.startIndex <= i && i < t.endIndex)?.scopes ?? [];
    const where = `${path.basename(file)}: ${line}`;
    if (line.trim() === '') continue;
    if (/^\s*\[/.test(line)) {
      assert.ok(scopesAt(line.indexOf('[')).includes('entity.name.section.scenario'), where);
      continue;
    }
    // The keyword field, from its first to its last character.
    const comma = line.indexOf(',');
    const keyword = line.slice(0, comma).trimEnd();
    for (let i = line.search(/\S/); i < keyword.length; i++)
      assert.ok(scopesAt(i).includes('keyword.other.record.scenario'), `${where} [${i}]`);
    // Every number after it; a station name is the text it is.
    for (const m of line.slice(comma).matchAll(/(?<=[\s,])-?\d+(?=[\s,]|$)/g)) {
      const at = comma + m.index;
      assert.ok(scopesAt(at).includes('constant.numeric.integer.scenario'), `${where} [${at}]`);
      assert.ok(!scopesAt(at).includes('keyword.other.record.scenario'), `${where} [${at}]`);
    }
    checked++;
  }
}
assert.ok(checked > 100, 'too few records: ' + checked);
fs.rmSync(shipped, { recursive: true, force: true });
console.log(`grammar test passed: ${checked} records`);
