// SPDX-License-Identifier: ISC
// quelto as a function on bytes in memory, for the package's entries for
// Node and for browsers, which each compile quelto.wasm their own way.

import { run } from './wasi.js';

function concat(chunks) {
  const all = new Uint8Array(chunks.reduce((sum, chunk) => sum + chunk.length, 0));
  let offset = 0;
  for (const chunk of chunks) {
    all.set(chunk, offset);
    offset += chunk.length;
  }
  return all;
}

// Runs the compiled quelto.wasm `module` on `input`, S-records as a
// string (read as UTF-8) or as bytes, with `moduleName` as its argument,
// or none when it is undefined.  Gives the exit status, standard output
// as bytes and standard error as text: what the command gives.
export function convertWith(module, input, moduleName) {
  let bytes;
  if (typeof input === 'string')
    bytes = new TextEncoder().encode(input);
  else if (input instanceof Uint8Array)
    bytes = input;
  else if (input instanceof ArrayBuffer)
    bytes = new Uint8Array(input);
  else
    throw new TypeError('quelto: the input must be a string, a Uint8Array or an ArrayBuffer');
  if (moduleName !== undefined && typeof moduleName !== 'string')
    throw new TypeError('quelto: the module name must be a string');

  let position = 0;
  const output = { 1: [], 2: [] };
  const status = run(module, moduleName === undefined ? [] : [moduleName], {
    read(buffer) {
      const count = Math.min(buffer.length, bytes.length - position);
      buffer.set(bytes.subarray(position, position + count));
      position += count;
      return count;
    },
    write(fd, buffer) {
      output[fd].push(buffer.slice());
    },
    isTerminal: () => false,
  });
  return {
    status,
    stdout: concat(output[1]),
    stderr: new TextDecoder().decode(concat(output[2])),
  };
}
