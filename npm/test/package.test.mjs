// SPDX-License-Identifier: ISC
// The npm package against its own command and the native tool: run by
// CTest in a WebAssembly build (tests/CMakeLists.txt), with
//   PACKAGE    the package's tree in the build, quelto.wasm included
//   CASES      the test suite's directory of cases, tests/
//   EXAMPLE    the example's S-records, examples/boot.srec
//   REFERENCE  the native quelto, if there is one to compare with

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { goldenCases } from '../../tests/golden_cases.mjs';

const { PACKAGE, CASES, EXAMPLE, REFERENCE } = process.env;
const command = join(PACKAGE, 'bin', 'quelto.js');
const { convert } = await import(pathToFileURL(join(PACKAGE, 'index.js')));

// Runs `program` with `args` on `input`; the result as convert() gives it.
function runs(program, args, input) {
  const run = spawnSync(program[0], [...program.slice(1), ...args], { input, maxBuffer: 1 << 26 });
  return { status: run.status, stdout: new Uint8Array(run.stdout), stderr: run.stderr.toString() };
}
const theCommand = (args, input) => runs(['node', command], args, input);
const hasPython = spawnSync('python3', ['-c', '']).status === 0;

test('convert() gives what the command gives, on every case', async () => {
  const cases = goldenCases(CASES);
  for (const { name, input, args } of cases)
    assert.deepEqual(await convert(input, args[0]), theCommand(args.slice(0, 1), input), name);
  assert.ok(cases.length > 50, `only ${cases.length} cases`);
});

test('convert() takes text, bytes and an ArrayBuffer alike', async () => {
  const text = readFileSync(EXAMPLE, 'latin1');
  const bytes = readFileSync(EXAMPLE);
  const expected = theCommand(['boot_rom'], bytes);
  assert.equal(expected.status, 0);
  assert.deepEqual(await convert(text, 'boot_rom'), expected);
  assert.deepEqual(await convert(new Uint8Array(bytes), 'boot_rom'), expected);
  assert.deepEqual(await convert(new Uint8Array(bytes).buffer, 'boot_rom'), expected);
  await assert.rejects(convert(42), TypeError);
});

test('require() loads the package as import does, where engines allows', async () => {
  const [major, minor] = process.versions.node.split('.').map(Number);
  const engines = JSON.parse(readFileSync(join(PACKAGE, 'package.json'))).engines.node;
  assert.equal(engines, '^20.19.0 || >=22.12.0');
  if (major === 20 ? minor < 19 : major < 22 || (major === 22 && minor < 12))
    return;
  const script = 'require(process.argv[1]).convert(process.argv[2], "boot_rom")' +
    '.then((run) => process.stdout.write(run.stdout))';
  const input = readFileSync(EXAMPLE, 'latin1');
  const run = runs(['node', '-e', script, PACKAGE], [input], '');
  assert.equal(run.stderr, '');
  assert.deepEqual(run.stdout, (await convert(input, 'boot_rom')).stdout);
});

test('a non-blocking standard input is read to its end', { skip: !hasPython && 'needs python3' }, () => {
  // The pipe is non-blocking for the command, as a parent may leave it,
  // and its data comes late, in two pieces.
  const nonBlocking = 'import fcntl, os, sys\n' +
    'fcntl.fcntl(0, fcntl.F_SETFL, fcntl.fcntl(0, fcntl.F_GETFL) | os.O_NONBLOCK)\n' +
    'os.execvp(sys.argv[1], sys.argv[1:])\n';
  const run = spawnSync('sh', ['-c',
    '(sleep 0.3; head -c 100 "$1"; sleep 0.3; tail -c +101 "$1") | python3 -c "$2" node "$3" boot_rom',
    'sh', EXAMPLE, nonBlocking, command], { maxBuffer: 1 << 26 });
  assert.equal(run.stderr.toString(), '');
  assert.equal(run.status, 0);
  assert.deepEqual(new Uint8Array(run.stdout), theCommand(['boot_rom'], readFileSync(EXAMPLE)).stdout);
});

test('a terminal as standard input is read to its end', { skip: !hasPython && 'needs python3' }, () => {
  // The lines are typed into a terminal, then Ctrl-D; the module goes to a
  // file.
  const dir = mkdtempSync(join(tmpdir(), 'quelto-tty-'));
  const output = join(dir, 'rom.v');
  const terminal = 'import os, pty, sys\n' +
    'pid, master = pty.fork()\n' +
    'if pid == 0:\n' +
    '    os.execvp("sh", ["sh", "-c", "exec node \\"$0\\" boot_rom > \\"$1\\"", sys.argv[1], sys.argv[2]])\n' +
    'for line in open(sys.argv[3], "rb").read().splitlines():\n' +
    '    os.write(master, line + b"\\n")\n' +
    'os.write(master, b"\\x04")\n' +
    'while True:\n' +
    '    try:\n' +
    '        if not os.read(master, 4096): break\n' +
    '    except OSError: break\n' +
    'sys.exit(os.waitpid(pid, 0)[1] >> 8)\n';
  const run = spawnSync('python3', ['-c', terminal, command, output, EXAMPLE]);
  try {
    assert.equal(run.status, 0, run.stderr.toString());
    assert.deepEqual(new Uint8Array(readFileSync(output)),
      theCommand(['boot_rom'], readFileSync(EXAMPLE)).stdout);
  } finally {
    rmSync(dir, { recursive: true });
  }
});

test('the packed package, installed offline or run by npx from a relative path, converts the example', () => {
  const dir = mkdtempSync(join(tmpdir(), 'quelto-npm-'));
  try {
    const pack = spawnSync('npm', ['pack', '--pack-destination', dir], { cwd: PACKAGE });
    assert.equal(pack.status, 0, pack.stderr.toString());
    const name = pack.stdout.toString().trim();
    const prefix = join(dir, 'prefix');
    const install = spawnSync('npm', ['install', '--global', '--offline', '--prefix', prefix, join(dir, name)]);
    assert.equal(install.status, 0, install.stderr.toString());
    const input = readFileSync(EXAMPLE);
    const expected = REFERENCE ? runs([REFERENCE], ['boot_rom'], input) : theCommand(['boot_rom'], input);
    const installed = runs([join(prefix, 'bin', 'quelto')], ['boot_rom'], input);
    assert.equal(installed.status, 0);
    assert.deepEqual(installed, expected);
    // As the README shows it, from the tarball's directory, with a cache
    // of its own so that nothing is taken from an earlier run.
    const npx = spawnSync('npx', ['--yes', '--offline', '--cache', join(dir, 'cache'),
      '--package', `./${name}`, 'quelto', 'boot_rom'], { cwd: dir, input });
    assert.equal(npx.status, 0, npx.stderr.toString());
    assert.deepEqual(new Uint8Array(npx.stdout), expected.stdout);
  } finally {
    rmSync(dir, { recursive: true });
  }
});
