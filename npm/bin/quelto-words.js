#!/usr/bin/env node
// SPDX-License-Identifier: ISC
// quelto-words, the command: quelto-words.wasm run on the process's own
// standard streams with the process's arguments, ending with its exit
// status.
//
// usage: quelto-words [rows] < program.srec > program.hex
//        quelto-words --placeholder rows > placeholder.srec

import { readFileSync } from 'node:fs';
import { run } from '../lib/wasi.js';
import { processStreams } from '../lib/node_streams.js';

const module = new WebAssembly.Module(readFileSync(new URL('../quelto-words.wasm', import.meta.url)));
process.exitCode = run(module, process.argv.slice(2), processStreams);
