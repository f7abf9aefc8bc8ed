// SPDX-License-Identifier: ISC
// The web page in headless Chromium, opened from disk: every case chosen
// through its file input must show the error line, or show and save the
// module, that the native quelto writes; the module name box, pasted text
// and a dropped file must do as the command line does; the empty page,
// a file that is not text and a browser without WebAssembly must be met
// with words, and a drop must say which file it read; and the page must
// carry the licence and ask for nothing but itself.  Run by CTest in a WebAssembly build, with
//   PAGE        the page, quelto-VERSION.html
//   CASES       the test suite's directory of cases, tests/
//   EXAMPLE     the example's S-records, examples/boot.srec
//   REFERENCE   the native quelto, or else the npm package's command
//   CHROMIUM    the browser
//   SCREENSHOT  where to save a picture of the page with the example

import { after, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';
import { goldenCases } from '../../tests/golden_cases.mjs';

const { PAGE, CASES, EXAMPLE, REFERENCE, CHROMIUM, SCREENSHOT } = process.env;
const pageUrl = pathToFileURL(PAGE).href;
const example = readFileSync(EXAMPLE);

// What the command line writes for `input` with `name` as its argument,
// as the page must show it.
function expected(input, name, fileName = `${name ?? 'vemo_bootrom'}.v`) {
  const run = spawnSync(REFERENCE, name === undefined ? [] : [name], { input, maxBuffer: 1 << 26 });
  assert.ok(run.status === 0 || run.status === 1, `${REFERENCE}: ${run.error ?? run.stderr}`);
  return {
    error: run.stderr.toString(),
    verilog: run.status === 0 ? run.stdout.toString() : null,
    saved: run.status === 0 ? { fileName, bytes: run.stdout } : null,
  };
}

const browser = await chromium.launch({
  executablePath: CHROMIUM,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
after(() => browser.close());
const context = await browser.newContext({
  acceptDownloads: true, viewport: { width: 1100, height: 640 }, colorScheme: 'light',
  permissions: ['clipboard-read', 'clipboard-write'],
});
const page = await context.newPage();
const requests = [];
const problems = [];
page.on('request', (request) => requests.push(request.url()));
page.on('pageerror', (error) => problems.push(error.message));
page.on('console', (message) => problems.push(`${message.type()}: ${message.text()}`));
await page.goto(pageUrl);

const fileInput = page.getByLabel('S-record file');
const nameBox = page.getByLabel('Module name');
const textArea = page.getByLabel('S-records');
const verilog = page.getByRole('region', { name: 'Verilog' });
const error = page.getByRole('region', { name: 'Error' });
const download = page.getByRole('button', { name: 'Download' });

// Does `action`, which makes the page convert, and gives what it shows
// then, and the file that Download saves.
async function shown(action) {
  await action();
  await page.locator('#result[aria-busy=false]').waitFor();
  let saved = null;
  if (await download.isVisible()) {
    const [file] = await Promise.all([page.waitForEvent('download'), download.click()]);
    saved = { fileName: file.suggestedFilename(), bytes: readFileSync(await file.path()) };
  }
  return {
    error: await error.isVisible() ? await error.textContent() : '',
    verilog: await verilog.isVisible() ? await verilog.textContent() : null,
    saved,
  };
}
const choose = (name, buffer) => () => fileInput.setInputFiles({ name, mimeType: 'text/plain', buffer });

test('the empty page shows what to do, whole, beside the input', async () => {
  await page.locator('#result[aria-busy=false]').waitFor();
  assert.ok(await page.getByRole('heading', { name: 'Convert an S-record file' }).isVisible());
  // Each line of the placeholder fits in the box, which does not wrap.
  const [longest, room] = await textArea.evaluate((box) => {
    const style = getComputedStyle(box);
    const context = document.createElement('canvas').getContext('2d');
    context.font = `${style.fontSize} ${style.fontFamily}`;
    const widths = box.placeholder.split('\n').map((line) => context.measureText(line).width);
    return [Math.max(...widths),
      box.clientWidth - parseFloat(style.paddingLeft) - parseFloat(style.paddingRight)];
  });
  assert.ok(longest <= room, `placeholder ${longest}px in ${room}px`);
});

test('a file that is not text is not shown as text; quelto says the rest', async () => {
  // An ELF file's start, NUL bytes, and Latin-1 that is no UTF-8.
  const files = [['boot.elf', '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\xf3\0'],
    ['nul.srec', 'S3\0\0\n'], ['latin1.srec', 'S0\xe9\n']];
  for (const [name, bytes] of files) {
    const file = Buffer.from(bytes, 'latin1');
    assert.deepEqual(await shown(choose(name, file)), expected(file, undefined), name);
    assert.equal(await textArea.inputValue(), '', name);
    assert.equal(await page.locator('#source').textContent(),
      `From ${name}, ${file.length} bytes: not text, so not shown above`);
  }
  await shown(choose('boot.srec', example));
  assert.equal(await textArea.inputValue(), example.toString().replaceAll('\r\n', '\n'));
});

test('without WebAssembly, the page says that it cannot convert', async () => {
  const bare = await context.newPage();
  await bare.addInitScript(() => delete globalThis.WebAssembly);
  await bare.goto(pageUrl);
  await bare.locator('#result[aria-busy=false]').waitFor();
  const cannot = 'This browser cannot run quelto here: it has no WebAssembly, or has it turned off.\n';
  assert.equal(await bare.getByRole('region', { name: 'Error' }).textContent(), cannot);
  assert.ok(!await bare.locator('#start').isVisible());
  // A file chosen then leaves the line readable: the result is not busy.
  await bare.getByLabel('S-record file').setInputFiles({ name: 'boot.srec', mimeType: 'text/plain', buffer: example });
  await bare.locator('#source', { hasText: 'From boot.srec' }).waitFor();
  assert.equal(await bare.locator('#result').getAttribute('aria-busy'), 'false');
  assert.equal(await bare.getByRole('region', { name: 'Error' }).textContent(), cannot);
  await bare.close();
});

test('every case chosen as a file gives what the command line gives', async () => {
  const cases = goldenCases(CASES);
  for (const { name, input, args } of cases) {
    await nameBox.fill(args[0] ?? '');
    assert.deepEqual(await shown(choose('case.srec', input)), expected(input, args[0]), name);
  }
  assert.ok(cases.length > 50, `only ${cases.length} cases`);
});

test('the module name box gives the argument, as typed; Copy copies the module', async () => {
  const cases = [['', undefined], ['boot_rom', 'boot_rom'], ['a<b&"c\'d', 'a<b&"c\'d', 'a_b&_c\'d.v']];
  for (const [typed, name, fileName] of cases) {
    await nameBox.fill(typed);
    assert.deepEqual(await shown(choose('boot.srec', example)), expected(example, name, fileName), typed);
  }
  await nameBox.fill('boot_rom');
  await shown(choose('boot.srec', example));
  assert.equal(await page.locator('#summary').textContent(),
    '32 rows on mem_ad[6:2]: 16 words of image, 16 zero rows');
  if (SCREENSHOT)
    await page.screenshot({ path: SCREENSHOT });
  await page.getByRole('button', { name: 'Copy' }).click();
  await page.locator('#copied', { hasText: 'Copied' }).waitFor();
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()),
    expected(example, 'boot_rom').verilog);
});

test('pasted text and a dropped file give what a chosen file gives', async () => {
  await nameBox.fill('boot_rom');
  const bad = readFileSync(join(CASES, 'checksum', 'data_record.srec'));
  for (const input of [example, bad]) {
    const chosen = await shown(choose('chosen.srec', input));
    assert.deepEqual(await shown(() => textArea.fill(input.toString('latin1'))), chosen);
    assert.deepEqual(await shown(async () => {
      const dataTransfer = await page.evaluateHandle((bytes) => {
        const transfer = new DataTransfer();
        transfer.items.add(new File([new Uint8Array(bytes)], 'dropped.srec'));
        return transfer;
      }, [...input]);
      await page.dispatchEvent('body', 'drop', { dataTransfer });
    }), chosen);
  }
});

test('a dropped file replaces a chosen one in the file control; of several, the note names the first', async () => {
  await nameBox.fill('');
  await shown(choose('boot.srec', example));
  const elf = Buffer.from('\x7fELF\x01\x01\x01\0', 'latin1');
  const drop = (files) => async () => {
    const dataTransfer = await page.evaluateHandle((all) => {
      const transfer = new DataTransfer();
      for (const [name, bytes] of all)
        transfer.items.add(new File([new Uint8Array(bytes)], name));
      return transfer;
    }, files.map(([name, bytes]) => [name, [...bytes]]));
    await page.dispatchEvent('body', 'drop', { dataTransfer });
  };
  assert.deepEqual(await shown(drop([['boot.elf', elf]])), expected(elf, undefined));
  assert.equal(await fileInput.evaluate((input) => input.files[0].name), 'boot.elf');
  assert.deepEqual(await shown(drop([['boot.srec', example], ['boot.elf', elf], ['x.srec', elf]])),
    expected(example, undefined));
  assert.equal(await fileInput.evaluate((input) => input.files[0].name), 'boot.srec');
  assert.equal(await page.locator('#source').textContent(),
    `From boot.srec, ${example.length} bytes; 2 more files dropped, not read`);
});

test('the page carries the licence, whole', () => {
  const licence = readFileSync(new URL('../../LICENSE', import.meta.url), 'utf8');
  assert.ok(readFileSync(PAGE, 'utf8').includes(`<!--\n${licence}-->`));
});

test('the page asks for nothing but itself, and reports no problem', () => {
  assert.deepEqual(requests, [pageUrl]);
  assert.deepEqual(problems, []);
});
