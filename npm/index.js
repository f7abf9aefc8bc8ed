// SPDX-License-Identifier: ISC
// The package's entry for Node: convert(), with quelto.wasm read from the
// package.

import { readFile } from 'node:fs/promises';
import { convertWith } from './lib/convert.js';

let compiled;

export async function convert(input, moduleName) {
  compiled ??= WebAssembly.compile(await readFile(new URL('./quelto.wasm', import.meta.url)));
  return convertWith(await compiled, input, moduleName);
}
