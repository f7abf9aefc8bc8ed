// SPDX-License-Identifier: ISC
// The npm package in a bundled page, made as the package's README says:
// esbuild, as package-lock.json pins it, bundles a script that imports
// quelto into an ES module, quelto.wasm is copied beside the bundle, and
// Chromium loads the page over HTTP and runs convert() from the bundle,
// which must give what the command line gives, and must fetch quelto.wasm
// again after a fetch that failed.  Run by CTest with the
// variables of page.test.mjs, and
//   PACKAGE     the npm package's directory, quelto.wasm in it

import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, symlinkSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { build } from 'esbuild';
import { chromium } from 'playwright-core';

const { PACKAGE, EXAMPLE, REFERENCE, CHROMIUM } = process.env;

// An application's tree, with the package installed under node_modules.
const dir = mkdtempSync(join(tmpdir(), 'quelto-bundle-'));
after(() => rmSync(dir, { recursive: true }));
mkdirSync(join(dir, 'node_modules'));
symlinkSync(PACKAGE, join(dir, 'node_modules', 'quelto'));
writeFileSync(join(dir, 'app.js'), "import { convert } from 'quelto';\nwindow.convert = convert;\n");
const site = join(dir, 'site');
await build({
  absWorkingDir: dir, entryPoints: ['app.js'], bundle: true, format: 'esm',
  outfile: join(site, 'app.js'), logLevel: 'warning',
});
copyFileSync(join(PACKAGE, 'quelto.wasm'), join(site, 'quelto.wasm'));
writeFileSync(join(site, 'index.html'), '<!DOCTYPE html>\n<script type="module" src="app.js"></script>\n');

// Serves the site's files, as any web server would; but for as many
// requests for quelto.wasm as `failures` says, it answers 503, as a
// server that is briefly overloaded does.
const types = { html: 'text/html', js: 'text/javascript', wasm: 'application/wasm' };
let failures = 0;
const server = createServer((request, response) => {
  const name = request.url === '/' ? 'index.html' : request.url.slice(1);
  if (name === 'quelto.wasm' && failures > 0) {
    failures--;
    response.writeHead(503).end();
    return;
  }
  try {
    const body = readFileSync(join(site, name.replace(/[^\w.-]/g, '')));
    response.writeHead(200, { 'Content-Type': types[name.split('.').pop()] });
    response.end(body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((listening) => server.listen(0, '127.0.0.1', listening));
after(() => server.close());

const browser = await chromium.launch({
  executablePath: CHROMIUM,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
after(() => browser.close());

test('convert() from an esbuild bundle converts in Chromium as the command line does', async () => {
  const page = await browser.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForFunction(() => window.convert !== undefined);
  const example = readFileSync(EXAMPLE, 'latin1');
  const run = await page.evaluate(async (input) => {
    const { status, stdout, stderr } = await window.convert(input, 'boot_rom');
    return { status, stdout: [...stdout], stderr };
  }, example);
  const native = spawnSync(REFERENCE, ['boot_rom'], { input: readFileSync(EXAMPLE) });
  assert.deepEqual(run, { status: 0, stdout: [...native.stdout], stderr: '' });
});

test('convert() fetches quelto.wasm again after a fetch that failed', async () => {
  const page = await browser.newPage();
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForFunction(() => window.convert !== undefined);
  failures = 1;
  const runs = await page.evaluate(async () => {
    const outcomes = [];
    for (let i = 0; i < 2; i++) {
      try {
        outcomes.push((await window.convert('S3090000000001020304EC\nS70500000000FA\n')).status);
      } catch (failure) {
        outcomes.push(failure.message);
      }
    }
    return outcomes;
  });
  assert.deepEqual(runs, ['quelto: cannot fetch quelto.wasm: 503', 0]);
});
