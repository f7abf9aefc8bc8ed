// SPDX-License-Identifier: ISC
// Makes the web page: one HTML file that holds quelto.wasm, the page's
// script, bundled by esbuild, its style and the licence, so that it needs
// nothing beside it and asks the network for nothing.
//
//   node web/build.mjs QUELTO_WASM VERSION OUTPUT
//
// The page's policy allows its own script and style alone, by their
// hashes, and no connection at all.  The same inputs give the same bytes.

import { build } from 'esbuild';
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [wasm, version, output] = process.argv.slice(2);
if (output === undefined) {
  console.error('usage: node web/build.mjs QUELTO_WASM VERSION OUTPUT');
  process.exit(2);
}
const here = dirname(fileURLToPath(import.meta.url));

const bundle = await build({
  entryPoints: [join(here, 'main.js')],
  // Paths in the bundle's comments are relative to this: the same
  // wherever the sources are.
  absWorkingDir: join(here, '..'),
  bundle: true,
  format: 'iife',
  target: 'es2020',
  charset: 'utf8',
  legalComments: 'none',
  define: { QUELTO_WASM: JSON.stringify(readFileSync(wasm).toString('base64')) },
  write: false,
  logLevel: 'warning',
});
const script = bundle.outputFiles[0].text;
const style = readFileSync(join(here, 'page.css'), 'utf8');
if (/<\/script/i.test(script) || /<\/style/i.test(style)) {
  console.error('web/build.mjs: the script or the style would end its element early');
  process.exit(1);
}
// The page is a copy of quelto, so it carries the licence, whole, in a
// comment; "--" would end that comment early.
const licence = readFileSync(join(here, '..', 'LICENSE'), 'utf8');
if (licence.includes('--')) {
  console.error('web/build.mjs: LICENSE would end its comment early');
  process.exit(1);
}

const hash = (text) => `'sha256-${createHash('sha256').update(text).digest('base64')}'`;
const policy = [
  "default-src 'none'",
  `script-src ${hash(script)} 'wasm-unsafe-eval'`,
  `style-src ${hash(style)}`,
  'img-src data:',
  "base-uri 'none'",
  "form-action 'none'",
].join('; ');

// Replaced by functions, so that no $ in the texts is taken for a pattern.
const values = { LICENSE: licence, POLICY: policy, VERSION: version, STYLE: style, SCRIPT: script };
const page = readFileSync(join(here, 'page.html'), 'utf8')
  .replace(/@(LICENSE|POLICY|VERSION|STYLE|SCRIPT)@/g, (_, key) => values[key]);
writeFileSync(output, page);
