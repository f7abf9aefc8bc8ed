// SPDX-License-Identifier: ISC
// Turns signals of a VCD trace into a WaveDrom diagram (WaveJSON), one
// column per clock: each signal's value in the middle of the clock, which
// is its value from one rising edge to the next in a design whose signals
// all change at rising edges.
//
// usage: node vcd_to_wavejson.mjs TRACE.vcd SCOPE TITLE CLOCK SIGNAL...
//
// SCOPE is the instance whose signals are drawn (such as top.rom), CLOCK
// its clock and SIGNAL the others, in the diagram's order; an empty
// SIGNAL leaves a gap.  Vectors show their value in hex, all digits.
// The edges are numbered from 0, the first rising edge in the trace.

import { readFileSync } from 'node:fs';

const [file, scope, title, clock, ...names] = process.argv.slice(2);
if (!clock) {
  console.error('usage: node vcd_to_wavejson.mjs TRACE.vcd SCOPE TITLE CLOCK SIGNAL...');
  process.exit(2);
}

// The trace: each wanted signal's id and width, then its changes in time.
const signals = new Map(); // name -> { width, changes: [[time, value]] }
const byId = new Map();    // id -> [signal]
const path = [];
let time = 0;
const tokens = readFileSync(file, 'utf8').split(/\s+/).filter(Boolean);
for (let i = 0; i < tokens.length; i++) {
  const token = tokens[i];
  if (token === '$scope') {
    path.push(tokens[i + 2]);
    i += 3;
  } else if (token === '$upscope') {
    path.pop();
    i += 1;
  } else if (token === '$var') {
    const [, , width, id, name] = tokens.slice(i, i + 5);
    if (path.join('.') === scope && !signals.has(name)) {
      const signal = { width: Number(width), changes: [] };
      signals.set(name, signal);
      byId.set(id, [...(byId.get(id) ?? []), signal]);
    }
    while (tokens[i] !== '$end')
      i++;
  } else if (token.startsWith('$')) {
    // $dumpvars and its $end hold value changes; other sections are skipped.
    if (token !== '$dumpvars' && token !== '$end')
      while (tokens[i] !== '$end')
        i++;
  } else if (token.startsWith('#')) {
    time = Number(token.slice(1));
  } else {
    let value, id;
    if (/^[bB]/.test(token)) {
      value = token.slice(1);
      id = tokens[++i];
    } else {
      value = token[0];
      id = token.slice(1);
    }
    for (const signal of byId.get(id) ?? [])
      signal.changes.push([time, value]);
  }
}

for (const name of [clock, ...names.filter(Boolean)])
  if (!signals.has(name)) {
    console.error(`vcd_to_wavejson: ${file}: no signal ${name} in ${scope}`);
    process.exit(1);
  }

function valueAt(signal, at) {
  let value = 'x';
  for (const [t, v] of signal.changes) {
    if (t > at)
      break;
    value = v;
  }
  return value;
}

const edges = signals.get(clock).changes
  .filter(([, value], i, changes) => value === '1' && i > 0 && changes[i - 1][1] === '0')
  .map(([t]) => t);
const middles = edges.slice(1).map((t, i) => (edges[i] + t) / 2);

function wave(signal) {
  let text = '';
  const data = [];
  let last;
  for (const at of middles) {
    const raw = valueAt(signal, at);
    let shown;
    if (signal.width === 1)
      shown = raw === '0' || raw === '1' ? raw : 'x';
    else if (/^[01]+$/.test(raw))
      shown = BigInt('0b' + raw).toString(16).padStart(Math.ceil(signal.width / 4), '0');
    else
      shown = 'x';
    if (shown === last) {
      text += '.';
    } else if (signal.width === 1 || shown === 'x') {
      text += shown;
    } else {
      text += '=';
      data.push(shown);
    }
    last = shown;
  }
  return data.length ? { wave: text, data } : { wave: text };
}

const diagram = {
  signal: [
    { name: clock, wave: 'p' + '.'.repeat(middles.length - 1) },
    ...names.map((name) => (name ? { name, ...wave(signals.get(name)) } : {})),
  ],
  head: { text: title, tick: 0 },
  config: { hscale: 2 },
};
console.log(JSON.stringify(diagram, null, 1));
