// SPDX-License-Identifier: ISC
// The package's entry for browsers and bundlers: convert(), with
// quelto.wasm fetched from beside this file.

import { convertWith } from './lib/convert.js';

// The compiled module, or its fetch under way.  A fetch that failed is
// forgotten, so that the next call tries again: one lost request must not
// leave the page unable to convert until it is loaded again.
let compiled = null;

export async function convert(input, moduleName) {
  compiled ??= fetch(new URL('./quelto.wasm', import.meta.url))
    .then((response) => {
      if (!response.ok)
        throw new Error(`quelto: cannot fetch quelto.wasm: ${response.status}`);
      return response.arrayBuffer();
    })
    .then((bytes) => WebAssembly.compile(bytes))
    .catch((failure) => {
      compiled = null;
      throw failure;
    });
  return convertWith(await compiled, input, moduleName);
}
