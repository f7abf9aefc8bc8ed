// SPDX-License-Identifier: ISC
// The page's behaviour: S-records from a chosen file, a dropped one or
// the text area go through quelto.wasm in the page, as the command line
// would take them on standard input, with the module name box as its
// argument.  Nothing leaves the page: its policy allows no connection.

import { convertWith } from '../npm/lib/convert.js';
import { summarise } from './summary.js';

// web/build.mjs puts quelto.wasm here, in base64.
/* global QUELTO_WASM */

const element = (id) => document.getElementById(id);
const fileInput = element('file');
const records = element('records');
const nameInput = element('name');
const source = element('source');
const result = element('result');
const success = element('success');
const summary = element('summary');
const verilog = element('verilog');
const error = element('error');
const copied = element('copied');
const start = element('start');

let compiled = null;
// The page cannot convert at all (no WebAssembly): nothing is ever busy.
let unable = false;
// The bytes or text to convert, null until there are some.
let input = null;
// The last module written: its bytes, and the name to save it under.
let module = null;
let moduleUrl = null;
// Counts the inputs given, so that a file read late cannot replace a
// later input.
let inputs = 0;

const bytesOf = (base64) => Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));

// Characters that no file name may hold on Windows, macOS or Linux.
const fileName = (name) => `${name.replace(/[\u0000-\u001f\u007f/\\:*?"<>|]/g, '_')}.v`;

function show(element, visible) {
  element.hidden = !visible;
}

// The result region is busy from an input until its result is shown; the
// page starts busy, until quelto.wasm is compiled.  A page that cannot
// convert is never busy, so that the line that says why is read out.
function busy(state) {
  result.setAttribute('aria-busy', String(state && !unable));
}

// A module is laid out in blocks of lines, so that the browser lays out
// only those in view (content-visibility in page.css): the largest has
// 32,768 rows.  The region's text is still the module's, byte for byte.
const linesPerBlock = 256;
function showModule(text) {
  const blocks = [];
  for (let start = 0; start < text.length;) {
    let end = start;
    for (let line = 0; line < linesPerBlock && end < text.length; line++) {
      const newline = text.indexOf('\n', end);
      end = newline < 0 ? text.length : newline + 1;
    }
    const block = document.createElement('div');
    block.textContent = text.slice(start, end);
    blocks.push(block);
    start = end;
  }
  verilog.replaceChildren(...blocks);
}

// Converts the input as it is now, and shows what quelto wrote: the
// module, or its error line.  All of it is shown as text.
function convert() {
  if (compiled === null)
    return;
  show(start, input === null);
  if (input === null) {
    show(success, false);
    show(error, false);
    busy(false);
    return;
  }
  const name = nameInput.value;
  const run = convertWith(compiled, input, name === '' ? undefined : name);
  if (moduleUrl !== null)
    URL.revokeObjectURL(moduleUrl);
  moduleUrl = null;
  copied.textContent = '';
  if (run.status === 0) {
    module = { bytes: run.stdout, name: name === '' ? 'vemo_bootrom' : name };
    const text = new TextDecoder().decode(run.stdout);
    showModule(text);
    summary.textContent = summarise(text);
  } else {
    module = null;
    verilog.textContent = '';
    summary.textContent = '';
  }
  error.textContent = run.stderr;
  show(success, run.status === 0);
  show(error, run.stderr !== '');
  busy(false);
}


// The text of bytes that are text: UTF-8 without control characters but
// those of line ends, tabs and the Ctrl-Z that some tools end a file with.
// Otherwise null.
function textOf(bytes) {
  let text;
  try {
    text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return null;
  }
  return /[\u0000-\u0008\u000e-\u0019\u001b-\u001f\u007f]/.test(text) ? null : text;
}

// A file's bytes go to quelto as they are; the text area shows them as
// text, and typing there converts that text instead.  A file that is not
// text, such as an ELF file chosen by mistake, is not shown: the note
// says so, and quelto's error line says the rest.
// `more` counts the other files of a drop, which are left alone.
async function load(file, more = 0) {
  busy(true);
  const given = ++inputs;
  const bytes = new Uint8Array(await file.arrayBuffer());
  if (given !== inputs)
    return;
  input = bytes;
  const text = textOf(bytes);
  records.value = text ?? '';
  const size = `${bytes.length.toLocaleString('en-US')} bytes`;
  const others = more === 0 ? ''
    : `; ${more.toLocaleString('en-US')} more file${more === 1 ? '' : 's'} dropped, not read`;
  source.textContent = text === null
    ? `From ${file.name}, ${size}: not text, so not shown above${others}`
    : `From ${file.name}, ${size}${others}`;
  convert();
}

fileInput.addEventListener('change', () => {
  if (fileInput.files.length > 0)
    load(fileInput.files[0]);
});

records.addEventListener('input', () => {
  busy(true);
  inputs++;
  fileInput.value = '';
  input = records.value === '' ? null : records.value;
  source.textContent = input === null ? '' : 'From the text above';
  convert();
});

nameInput.addEventListener('input', () => {
  busy(true);
  convert();
});

element('download').addEventListener('click', () => {
  if (module === null)
    return;
  moduleUrl ??= URL.createObjectURL(new Blob([module.bytes], { type: 'text/plain' }));
  const link = document.createElement('a');
  link.href = moduleUrl;
  link.download = fileName(module.name);
  link.click();
});

element('copy').addEventListener('click', async () => {
  try {
    await navigator.clipboard.writeText(verilog.textContent);
    copied.textContent = 'Copied';
  } catch {
    // Without the clipboard, the module is selected for the user to copy.
    getSelection().selectAllChildren(verilog);
    copied.textContent = 'Selected: copy it with the keyboard';
  }
});

// A file dropped anywhere on the page, or text dragged onto it.
document.addEventListener('dragover', (event) => {
  event.preventDefault();
  document.body.classList.add('dropping');
});
document.addEventListener('dragleave', (event) => {
  if (event.relatedTarget === null)
    document.body.classList.remove('dropping');
});
document.addEventListener('drop', (event) => {
  event.preventDefault();
  document.body.classList.remove('dropping');
  const { files } = event.dataTransfer;
  if (files.length > 0) {
    // The file control names the file dropped, not one chosen before.
    const dropped = new DataTransfer();
    dropped.items.add(files[0]);
    fileInput.files = dropped.files;
    load(files[0], files.length - 1);
  } else {
    records.value = event.dataTransfer.getData('text/plain');
    records.dispatchEvent(new Event('input'));
  }
});

// The page cannot convert: it says why, in place of the steps.
function cannotConvert(why) {
  unable = true;
  error.textContent = `This browser cannot run quelto here: ${why}\n`;
  show(start, false);
  show(error, true);
  busy(false);
}

if (typeof WebAssembly !== 'object') {
  // Turned off, as some browsers allow, or never there.
  cannotConvert('it has no WebAssembly, or has it turned off.');
} else {
  WebAssembly.compile(bytesOf(QUELTO_WASM)).then((wasm) => {
    compiled = wasm;
    convert();
  }, (failure) => {
    // Such as a browser too old for the page's policy on WebAssembly.
    cannotConvert(failure.message);
  });
}
