#!/usr/bin/env node
// SPDX-License-Identifier: ISC
// Runs a tool of the npm packages @yowasp/yosys and @yowasp/nextpnr-ice40
// (Yosys, nextpnr-ice40, icepack, icebram: WebAssembly builds of current
// releases) as if it were the native command:
//
//   node cmake/yowasp-run.mjs TOOL ARGUMENT...
//
// The tools see a file system of their own, whose root holds the files of
// the current directory, so relative paths work as they do natively; an
// absolute path in an argument (inside a -p script too) is the current
// directory's file, made relative, or another file of the host's, copied
// in under /.host.  Standard input, output and error are the process's
// own; the files that the tool writes or changes are written back into
// the current directory; the exit status is the tool's.  Yosys's own
// share/ (the iCE40 cell models among it) is at /share.

import fs from 'node:fs';
import path from 'node:path';

const packages = {
  yosys: ['@yowasp/yosys', 'runYosys'],
  'nextpnr-ice40': ['@yowasp/nextpnr-ice40', 'runNextpnrIce40'],
  icepack: ['@yowasp/nextpnr-ice40', 'runIcepack'],
  icebram: ['@yowasp/nextpnr-ice40', 'runIcebram'],
};

function readTree(directory) {
  const tree = {};
  for (const entry of fs.readdirSync(directory, { withFileTypes: true })) {
    const file = path.join(directory, entry.name);
    if (entry.isDirectory())
      tree[entry.name] = readTree(file);
    else if (entry.isFile())
      tree[entry.name] = new Uint8Array(fs.readFileSync(file));
  }
  return tree;
}

function place(tree, file, data) {
  const parts = file.split('/').filter(Boolean);
  const name = parts.pop();
  for (const part of parts)
    tree = tree[part] ??= {};
  tree[name] = data;
}

function same(a, b) {
  if (typeof a === 'string')
    a = new TextEncoder().encode(a);
  return b instanceof Uint8Array && a.length === b.length &&
    a.every((byte, i) => byte === b[i]);
}

// Writes back the files that the tool wrote or changed, but nothing under
// /.host, and no directory that would stay empty (Yosys's /tmp).
function writeBack(tree, before, directory) {
  for (const [name, entry] of Object.entries(tree)) {
    if (directory === '.' && name === '.host')
      continue;
    const file = path.join(directory, name);
    if (typeof entry === 'string' || entry instanceof Uint8Array) {
      if (!same(entry, before?.[name])) {
        fs.mkdirSync(directory, { recursive: true });
        fs.writeFileSync(file, entry);
      }
    } else {
      writeBack(entry, before?.[name], file);
    }
  }
}

async function run(tool, args) {
  if (!packages[tool])
    throw new Error(`yowasp-run: no such tool: ${tool}`);
  const [name, entry] = packages[tool];
  const command = (await import(name))[entry];
  const cwd = fs.realpathSync('.');
  const before = readTree('.');
  const tree = structuredClone(before);
  const mapped = args.map((arg) =>
    arg.replace(/(?<![\w.~-])\/[^\s'"();,]+/g, (file) => {
      if (file === cwd)
        return '.';
      if (file.startsWith(cwd + '/'))
        return file.slice(cwd.length + 1);
      if (!fs.existsSync(file) || !fs.statSync(file).isFile())
        return file;
      place(tree, `.host${file}`, new Uint8Array(fs.readFileSync(file)));
      return `/.host${file}`;
    }));
  const input = Buffer.alloc(65536);
  const options = {
    stdin: (length) => {
      const count = fs.readSync(0, input, 0, Math.min(length, input.length), null);
      return count ? new Uint8Array(input.subarray(0, count)) : null;
    },
    stdout: (bytes) => bytes && fs.writeSync(1, bytes),
    stderr: (bytes) => bytes && fs.writeSync(2, bytes),
    decodeASCII: false,
  };
  let files, status = 0;
  try {
    files = await command(mapped, tree, options);
  } catch (error) {
    if (!('code' in error) || !error.files)
      throw error;
    files = error.files;
    status = error.code;
  }
  writeBack(files, before, '.');
  return status;
}

if (import.meta.url === `file://${fs.realpathSync(process.argv[1])}`) {
  const [tool, ...args] = process.argv.slice(2);
  process.exitCode = await run(tool, args);
}
