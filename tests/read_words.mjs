// SPDX-License-Identifier: ISC
// Reads back the word files that quelto-words writes, in each format, as
// strictly as the tool that takes that format does (from what its makers
// document), with no code of quelto's, and compares their words with
// those of quelto's own module.
//
//   node tests/read_words.mjs cases QUELTO_WORDS DIR...
//     every case NAME.srec in DIR... that quelto accepts, whose golden
//     file NAME.out holds quelto's module: quelto-words in every format
//     must give the words of that module.
//   node tests/read_words.mjs robustness FORMAT... -- ROBUSTNESS ARGUMENT...
//     runs the robustness harness with --keep, ROBUSTNESS ARGUMENT... being
//     its command line with quelto-words's path last before "--", to which
//     FORMAT... (such as --format coe) are given; then reads every word file
//     that it kept against the words that its decoder expects.
//
// Each reader returns the words of a file, row 0 first, or throws with
// what a tool would refuse.

import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const hexWord = /^[0-9a-fA-F]{1,8}$/;

function lines(text) {
  if (!text.endsWith('\n') || text.includes('\r'))
    throw new Error('not lines that each end in a line feed alone');
  return text.slice(0, -1).split('\n');
}

function word(token, what) {
  if (!hexWord.test(token))
    throw new Error(`${what}: ${JSON.stringify(token)} is not a 32-bit hex value`);
  return parseInt(token, 16) >>> 0;
}

// $readmemh's words as this command writes them: 8 lower-case digits a line.
function readHex(text) {
  return lines(text).map((line) => {
    if (!/^[0-9a-f]{8}$/.test(line))
      throw new Error(`not a word line: ${JSON.stringify(line)}`);
    return parseInt(line, 16) >>> 0;
  });
}

// Vivado's COE: "keyword = value ;" statements, keywords in any case, the
// rest of a line after ";" a comment; the radix before the vector, which
// is the last statement, its values apart by commas or white space.
function readCoe(text) {
  const statements = [];
  let at = 0;
  while (at < text.length) {
    if (/\s/.test(text[at])) {
      at++;
    } else if (text[at] === ';') {
      at = text.indexOf('\n', at) + 1 || text.length;
    } else {
      const end = text.indexOf(';', at);
      if (end < 0)
        throw new Error('a statement without ";"');
      const statement = text.slice(at, end);
      const equals = statement.indexOf('=');
      if (equals < 0)
        throw new Error(`not a statement: ${JSON.stringify(statement.slice(0, 40))}`);
      statements.push([statement.slice(0, equals).trim().toLowerCase(),
        statement.slice(equals + 1)]);
      at = text.indexOf('\n', end) + 1 || text.length;
    }
  }
  const keys = statements.map(([key]) => key);
  if (keys.join() !== 'memory_initialization_radix,memory_initialization_vector')
    throw new Error(`statements ${keys.join(', ')}`);
  if (statements[0][1].trim() !== '16')
    throw new Error('a radix other than 16');
  const values = statements[1][1].trim().split(/\s*,\s*|\s+/);
  return values.map((value) => word(value, 'a vector value'));
}

// Quartus's MIF: WIDTH, DEPTH and both radixes, in any order, then
// "CONTENT BEGIN", entries "A : D;", "A : D0 D1 ...;" or "[A..B] : D;",
// and "END;"; "--" and "% %" comments.  Every address below DEPTH once.
function readMif(text) {
  const source = text.replace(/%[^%]*%/g, ' ').replace(/--[^\n]*/g, '');
  const match = /^([^]*?)\bCONTENT\s+BEGIN\b([^]*?)\bEND\s*;\s*$/i.exec(source);
  if (!match)
    throw new Error('no CONTENT BEGIN ... END;');
  const header = {};
  for (const statement of match[1].split(';').slice(0, -1)) {
    const [key, value, extra] = statement.split('=').map((s) => s.trim());
    if (value === undefined || extra !== undefined || key.toUpperCase() in header)
      throw new Error(`header statement ${JSON.stringify(statement.trim())}`);
    header[key.toUpperCase()] = value.toUpperCase();
  }
  if (match[1].trim() && !match[1].trim().endsWith(';'))
    throw new Error('a header statement without ";"');
  if (Object.keys(header).sort().join() !== 'ADDRESS_RADIX,DATA_RADIX,DEPTH,WIDTH')
    throw new Error(`header ${Object.keys(header).join(', ')}`);
  if (header.WIDTH !== '32' || header.ADDRESS_RADIX !== 'HEX' ||
      header.DATA_RADIX !== 'HEX' || !/^[1-9][0-9]*$/.test(header.DEPTH))
    throw new Error('not WIDTH 32, HEX radixes and a DEPTH');
  const depth = Number(header.DEPTH);
  const words = new Array(depth);
  const put = (address, value) => {
    if (address >= depth || words[address] !== undefined)
      throw new Error(`address ${address.toString(16)} beyond DEPTH, or twice`);
    words[address] = word(value, 'a data value');
  };
  const entries = match[2].split(';');
  if (entries.pop().trim() !== '')
    throw new Error('an entry without ";"');
  for (const entry of entries) {
    const parts = /^\s*(?:([0-9a-fA-F]+)|\[([0-9a-fA-F]+)\.\.([0-9a-fA-F]+)\])\s*:\s*(\S[^]*?)\s*$/.exec(entry);
    if (!parts)
      throw new Error(`entry ${JSON.stringify(entry.trim())}`);
    const values = parts[4].split(/\s+/);
    if (parts[1] !== undefined)
      values.forEach((value, i) => put(parseInt(parts[1], 16) + i, value));
    else
      for (let a = parseInt(parts[2], 16); a <= parseInt(parts[3], 16); a++)
        put(a, values[(a - parseInt(parts[2], 16)) % values.length]);
  }
  const missing = words.findIndex((w) => w === undefined);
  if (words.length !== depth || missing >= 0)
    throw new Error(`address ${missing.toString(16)} below DEPTH has no word`);
  return words;
}

// Quartus's Intel HEX for a 32-bit memory: one word a record, its
// address the word's, its bytes from the most significant; every
// checksum right; then the end record, last.
function readIntelHex(text) {
  const words = [];
  const records = lines(text);
  records.forEach((record, n) => {
    if (!/^:([0-9A-F]{2})+$/.test(record))
      throw new Error(`record ${n + 1} is not ":" and upper-case hex pairs`);
    const bytes = record.slice(1).match(/../g).map((pair) => parseInt(pair, 16));
    if (bytes.reduce((sum, b) => sum + b, 0) % 256 !== 0)
      throw new Error(`record ${n + 1}: wrong checksum`);
    const [count, high, low, type] = bytes;
    if (count !== bytes.length - 5)
      throw new Error(`record ${n + 1}: wrong count`);
    if (type === 1) {
      if (n !== records.length - 1 || count !== 0 || high !== 0 || low !== 0)
        throw new Error('the end record is not ":00000001FF", last');
      return;
    }
    if (type !== 0 || count !== 4)
      throw new Error(`record ${n + 1}: not a data record of one word`);
    if ((high << 8 | low) !== words.length)
      throw new Error(`record ${n + 1}: word address ${high << 8 | low}, not ${words.length}`);
    words.push(((bytes[4] << 24 | bytes[5] << 16 | bytes[6] << 8 | bytes[7]) >>> 0));
  });
  if (!records.length || records[records.length - 1] !== ':00000001FF')
    throw new Error('no end record');
  return words;
}

// Header lines, each "#Key=value", exactly these and in this order, then
// a word a line; the depth must be the number of lines.
function readWithHeader(text, header, depthKey) {
  const all = lines(text);
  const depth = all.find((line) => line.startsWith(`#${depthKey}=`));
  const expected = header.map((line) => line === depthKey ? depth : line);
  if (depth === undefined ||
      all.slice(0, header.length).join('\n') !== expected.join('\n'))
    throw new Error(`the header is not ${header.join(', ')}`);
  const words = all.slice(header.length).map((line) => word(line, 'a word line'));
  if (String(words.length) !== depth.slice(depthKey.length + 2))
    throw new Error(`${depth}, and ${words.length} words`);
  return words;
}

function readLattice(text) {
  return readWithHeader(text, ['#Format=Hex', 'Depth', '#Width=32',
    '#AddrRadix=3', '#DataRadix=3', '#Data'], 'Depth');
}

function readGowin(text) {
  return readWithHeader(text, ['#File_format=Hex', 'Address_depth',
    '#Data_width=32'], 'Address_depth');
}

// updatemem's data: "@" and a byte address, then tokens of hex digits, each
// as many bytes as its digits make (an odd digit alone a byte), which go
// to the next addresses; no byte twice.  The bytes from `base`, four a
// row, are the bit stream that updatemem deals out to the .mmi's lanes,
// the first lane listed the most significant: lanes of `laneBits` listed
// from the least significant take the row's bits in that order.
function readUpdatemem(text, base = 0, laneBits = 0) {
  const bytes = new Map();
  let address;
  for (const token of text.split(/[ \t\n]+/).filter(Boolean)) {
    if (token.startsWith('@')) {
      if (!/^@[0-9a-fA-F]{1,8}$/.test(token))
        throw new Error(`address ${token}`);
      address = parseInt(token.slice(1), 16);
      continue;
    }
    if (address === undefined || !/^[0-9a-fA-F]+$/.test(token))
      throw new Error(`data ${JSON.stringify(token)} before an address, or not hex`);
    const digits = token.length % 2 ? `0${token}` : token;
    for (const pair of digits.match(/../g)) {
      if (bytes.has(address))
        throw new Error(`byte address ${address.toString(16)} twice`);
      bytes.set(address++, parseInt(pair, 16));
    }
  }
  const addresses = [...bytes.keys()].sort((a, b) => a - b);
  if (addresses[0] !== base || addresses.length % 4 ||
      addresses[addresses.length - 1] !== base + addresses.length - 1)
    throw new Error(`the bytes are not whole rows from ${base.toString(16)}, with no gap`);
  const words = [];
  for (let row = 0; row < addresses.length / 4; row++) {
    let stream = 0;
    for (let i = 0; i < 4; i++)
      stream = stream * 256 + bytes.get(base + 4 * row + i);
    let value = stream;
    if (laneBits) {
      value = 0;
      for (let lane = 0; lane < 32 / laneBits; lane++) {
        const chunk = Math.floor(stream / 2 ** (32 - (lane + 1) * laneBits)) % 2 ** laneBits;
        value += chunk * 2 ** (lane * laneBits);
      }
    }
    words.push(value >>> 0);
  }
  return words;
}

// The formats, each with the arguments that ask for it and its reader.
const formats = [
  { args: [], read: readHex },
  { args: ['--format', 'hex'], read: readHex },
  { args: ['--format', 'coe'], read: readCoe },
  { args: ['--format', 'mif'], read: readMif },
  { args: ['--format', 'intel-hex'], read: readIntelHex },
  { args: ['--format', 'lattice'], read: readLattice },
  { args: ['--format', 'gowin'], read: readGowin },
  { args: ['--format', 'updatemem'], read: (t) => readUpdatemem(t) },
  { args: ['--format', 'updatemem', '--base', '80000000', '--lsb-first', '8'],
    read: (t) => readUpdatemem(t, 0x80000000, 8) },
  { args: ['--format', 'updatemem', '--base', '0x1000', '--lsb-first', '4'],
    read: (t) => readUpdatemem(t, 0x1000, 4) },
];

function readerFor(args) {
  const found = formats.find((f) => f.args.join(' ') === args.join(' '));
  if (!found)
    throw new Error(`no reader for ${args.join(' ')}`);
  return found.read;
}

// The words of quelto's module, from its case table or its constant.
function moduleWords(text) {
  const constant = /assign mem_rdata = m_rd \? 32'h([0-9a-f]{8}) : 0;/.exec(text);
  if (constant)
    return [parseInt(constant[1], 16) >>> 0];
  const words = [];
  for (const [, index, value] of text.matchAll(/\n {6}'h([0-9a-f]+): rdata = 32'h([0-9a-f]{8});/g)) {
    if (parseInt(index, 16) !== words.length)
      throw new Error('case rows out of order');
    words.push(parseInt(value, 16) >>> 0);
  }
  return words;
}

function same(a, b) {
  return a.length === b.length && a.every((w, i) => w === b[i]);
}

function cases(quelto_words, dirs) {
  let checked = 0, failed = 0;
  for (const dir of dirs)
    for (const file of fs.readdirSync(dir).filter((f) => f.endsWith('.out')).sort()) {
      const name = path.join(dir, file.slice(0, -4));
      const expected = moduleWords(fs.readFileSync(`${name}.out`, 'utf8'));
      if (!expected.length || !fs.existsSync(`${name}.srec`))
        continue;
      const input = fs.readFileSync(`${name}.srec`);
      for (const { args, read } of formats) {
        const run = spawnSync(quelto_words, args, { input });
        let problem = run.status !== 0 ? `status ${run.status}: ${run.stderr}` : '';
        if (!problem) {
          try {
            if (!same(read(run.stdout.toString()), expected))
              problem = 'other words than the module';
          } catch (error) {
            problem = error.message;
          }
        }
        checked++;
        if (problem) {
          failed++;
          console.log(`${name}.srec, ${args.join(' ') || 'no option'}: ${problem}`);
        }
      }
    }
  console.log(`${checked} word files read back, ${failed} wrong`);
  return failed === 0 && checked > 0;
}

function robustness(formatArgs, command) {
  const keep = fs.mkdtempSync(path.join(os.tmpdir(), 'quelto-words-'));
  const split = command.indexOf('--');
  const run = [...command.slice(1, split), ...formatArgs, ...command.slice(split)];
  try {
    execFileSync(command[0], ['--words', '--keep', keep, ...run], { stdio: 'inherit' });
    const read = readerFor(formatArgs);
    let count = 0, failed = 0;
    for (const name of fs.readdirSync(keep).filter((f) => f.endsWith('.out'))) {
      const base = path.join(keep, name.slice(0, -4));
      const expected = fs.readFileSync(`${base}.words`, 'utf8');
      let problem = '';
      try {
        const words = read(fs.readFileSync(`${base}.out`, 'utf8'));
        if (expected && !same(words, readHex(expected)))
          problem = 'other words than the decoder expects';
      } catch (error) {
        problem = error.message;
      }
      count++;
      if (problem && ++failed <= 10)
        console.log(`word file ${name}: ${problem}`);
    }
    console.log(`${count} word files read back (${formatArgs.join(' ')}), ${failed} wrong`);
    return failed === 0 && count > 0;
  } finally {
    fs.rmSync(keep, { recursive: true, force: true });
  }
}

if (process.argv[1] && path.resolve(process.argv[1]) === new URL(import.meta.url).pathname) {
  const [mode, ...rest] = process.argv.slice(2);
  let ok = false;
  if (mode === 'cases') {
    ok = cases(rest[0], rest.slice(1));
  } else if (mode === 'robustness') {
    const split = rest.indexOf('--');
    ok = robustness(rest.slice(0, split), rest.slice(split + 1));
  } else {
    console.error('usage: node tests/read_words.mjs cases QUELTO_WORDS DIR... | ' +
      'robustness FORMAT... -- ROBUSTNESS ARGUMENT...');
  }
  process.exitCode = ok ? 0 : 1;
}
