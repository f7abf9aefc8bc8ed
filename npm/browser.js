// SPDX-License-Identifier: ISC
// The package's entry for browsers and bundlers: convert(), with
// quelto.wasm fetched from beside this file.

import { convertWith } from './lib/convert.js';

let compiled;

export async function convert(input, moduleName) {
  compiled ??= fetch(new URL('./quelto.wasm', import.meta.url))
    .then((response) => {
      if (!response.ok)
        throw new Error(`quelto: cannot fetch quelto.wasm: ${response.status}`);
      return response.arrayBuffer();
    })
    .then((bytes) => WebAssembly.compile(bytes));
  return convertWith(await compiled, input, moduleName);
}
