// SPDX-License-Identifier: ISC
// Times the web page in headless Chromium on one input: from a file
// dropped on the page to the module shown and painted, and from a
// module name typed to the same, each the median of RUNS.
//
//   node bench/page.mjs PAGE INPUT RUNS CHROMIUM
//
// Run by bench/run, with Chromium from Debian (chromium) and playwright-core
// from npm (npm ci in the top directory).

import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const [page, input, runs, executablePath] = process.argv.slice(2);
const browser = await chromium.launch({ executablePath, args: ['--no-sandbox'] });
const tab = await browser.newPage({ viewport: { width: 1100, height: 640 } });
await tab.goto(pathToFileURL(page).href);
await tab.locator('#result[aria-busy=false]').waitFor();

const times = await tab.evaluate(async ([bytes, runs]) => {
  const result = document.getElementById('result');
  const name = document.getElementById('name');
  // Resolves once the page has next converted, shown and painted the result.
  const shown = () => new Promise((resolve) => {
    const observer = new MutationObserver(() => {
      if (result.getAttribute('aria-busy') !== 'false')
        return;
      observer.disconnect();
      requestAnimationFrame(() => setTimeout(resolve));
    });
    observer.observe(result, { attributes: true, attributeFilter: ['aria-busy'] });
  });
  const file = new File([new Uint8Array(bytes)], 'largest.srec');
  const dropped = [];
  const typed = [];
  for (let run = 0; run < runs; run++) {
    const transfer = new DataTransfer();
    transfer.items.add(file);
    let done = shown();
    let start = performance.now();
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true }));
    await done;
    dropped.push(performance.now() - start);
    name.value = run % 2 ? 'rom_a' : 'rom_b';
    done = shown();
    start = performance.now();
    name.dispatchEvent(new Event('input'));
    await done;
    typed.push(performance.now() - start);
  }
  return { dropped, typed };
}, [[...readFileSync(input)], Number(runs)]);

const median = (values) => values.sort((a, b) => a - b)[values.length >> 1];
console.log(`web page (Chromium ${browser.version()}, headless):`);
console.log(`  file dropped to module shown:  ${median(times.dropped).toFixed(1)} ms (median of ${runs})`);
console.log(`  module name typed to shown:    ${median(times.typed).toFixed(1)} ms (median of ${runs})`);
await browser.close();
