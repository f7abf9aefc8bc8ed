// SPDX-License-Identifier: ISC
// The clock rate and the logic of the ROM and of each bus adapter in
// front of it, on an iCE40 HX8K (ct256), with each toolchain that is
// here: Debian's yosys and nextpnr-ice40, and the npm packages
// @yowasp/yosys and @yowasp/nextpnr-ice40 (npm ci), run through
// cmake/yowasp-run.mjs.  Run by bench/fmax, which makes the ROM:
//
//   node bench/fmax.mjs WORK ROM.v MODULE [ADAPTER...]
//
// Each design is the ROM alone, or an adapter with the ROM, under a top
// level that takes every bus input from a flip-flop (a shift chain fed
// by an LFSR, so that nothing is constant) and puts every bus output into
// a flip-flop, each of which a register of its own folds in (one LUT,
// and the registers' parity goes to a pin), so that every path of the
// design starts and ends at a register and none of the top level's is
// longer than one LUT.
// nextpnr-ice40 places and routes it with --freq 200 and seeds 1, 2 and
// 3.  For each design the table gives the lowest, the median and the
// highest Fmax, the median as a ratio to the ROM's own; the LUTs,
// flip-flops and carries of the design without the top level (Yosys's
// synth_ice40 of the adapter and the ROM, flattened); and the critical
// path of the median seed: where it starts and ends, and its LUTs.

import { spawn } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [work, romFile, romModule] = process.argv.slice(2, 5);
const top = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const seeds = [1, 2, 3];

const adapters = ['wishbone', 'wishbone_pipelined', 'ahb_lite', 'obi',
  'valid_ready', 'axi4lite', 'axi4', 'wishbone_burst'];
// The adapters named after the ROM's module, or else all of them.
const chosen = process.argv.slice(5);
const designs = ['rom', ...(chosen.length ? chosen : adapters)];

// The ports of an adapter, from its header: [direction, name, width].
function ports(source) {
  const list = [];
  const declaration =
    /^\s*(input|output)\s+(?:wire|reg)\s*(?:\[([^\]:]+):0\])?\s*(\w+)/gm;
  for (const [, direction, msb, name] of source.matchAll(declaration)) {
    // The one parameter in a width: AXI4's ID_WIDTH, 4 by default.
    const width = msb === undefined ? 1 :
      Number(msb.replace('ID_WIDTH', '4').replace(/^(\d+)-1$/, (_, n) => n - 1)) + 1;
    list.push([direction, name, width]);
  }
  return list;
}

// The design without the top level, "core": its bus inputs as one vector
// i, its bus outputs as o.
function core(design) {
  const rom = (ad, sel, rd, rdata) =>
    `  ${romModule} rom (.clk(clk), .mem_ad(${ad}), .mem_sel(${sel}),\n` +
    `    .mem_rd(${rd}), .mem_rdata(${rdata}));\n`;
  if (design === 'rom')
    return { inputs: 34, outputs: 32,
      names: { i: ['mem_ad', 32, 'mem_sel', 1, 'mem_rd', 1], o: ['mem_rdata', 32] },
      text:
      'module core (input clk, input [33:0] i, output [31:0] o);\n' +
      rom('i[31:0]', 'i[32]', 'i[33]', 'o') + 'endmodule\n' };
  const file = path.join(top, 'adapters', `quelto_${design}_adapter.v`);
  const [clock, ...bus] = ports(fs.readFileSync(file, 'utf8'))
    .filter(([, name]) => !name.startsWith('rom_'));
  const connections = [`.${clock[1]}(clk)`];
  const names = { i: [], o: [] };
  let inputs = 0, outputs = 0;
  for (const [direction, name, width] of bus) {
    const first = direction === 'input' ? inputs : outputs;
    names[direction === 'input' ? 'i' : 'o'].push(name, width);
    const bits = width === 1 ? `[${first}]` : `[${first + width - 1}:${first}]`;
    connections.push(`.${name}(${direction === 'input' ? 'i' : 'o'}${bits})`);
    if (direction === 'input')
      inputs += width;
    else
      outputs += width;
  }
  return { inputs, outputs, names, text:
    `module core (input clk, input [${inputs - 1}:0] i, output [${outputs - 1}:0] o);\n` +
    '  wire [31:0] rom_ad, rom_rdata;\n  wire rom_sel, rom_rd;\n' +
    `  quelto_${design}_adapter a (\n    ${connections.join(',\n    ')},\n` +
    '    .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),\n' +
    '    .rom_rdata(rom_rdata));\n' +
    rom('rom_ad', 'rom_sel', 'rom_rd', 'rom_rdata') + 'endmodule\n' };
}

function wrapper({ inputs, outputs }) {
  return `module top (input clk, output out);
  reg [30:0] lfsr = 31'h1;
  reg [${inputs - 1}:0] bus_in = 0;
  reg [${outputs - 1}:0] bus_out = 0, fold = 0;
  wire [${outputs - 1}:0] o;
  always @(posedge clk) begin
    lfsr    <= {lfsr[29:0], lfsr[30] ^ lfsr[27]};
    bus_in  <= {bus_in, lfsr[30]};
    bus_out <= o;
    fold    <= fold ^ bus_out;
  end
  assign out = ^fold;
  core core (.clk(clk), .i(bus_in), .o(o));
endmodule
`;
}

const toolchains = [
  { name: 'Debian', run: (tool, args) => [tool, args] },
  { name: 'YoWASP', run: (tool, args) =>
    [process.execPath, [path.join(top, 'cmake/yowasp-run.mjs'), tool, ...args]] },
];

function execute(toolchain, cwd, tool, args) {
  const [command, argv] = toolchain.run(tool, args);
  return new Promise((resolve, reject) => {
    const child = spawn(command, argv, { cwd, stdio: ['ignore', 'pipe', 'pipe'] });
    let output = '';
    child.stdout.on('data', (data) => { output += data; });
    child.stderr.on('data', (data) => { output += data; });
    child.on('error', reject);
    child.on('close', (status) => status === 0 ? resolve(output) :
      reject(new Error(`${tool} ${args.join(' ')} failed:\n${output}`)));
  });
}

// At most two tools at a time, one a core.
const queue = [];
let running = 0;
function limited(job) {
  return new Promise((resolve, reject) => {
    queue.push(() => job().then(resolve, reject).finally(() => {
      running--;
      queue.length && (running++, queue.shift()());
    }));
    running < 2 && (running++, queue.shift()());
  });
}

// The name that Yosys gave a net or a cell, without what its passes and
// nextpnr's packing added, and a bit of the top level's vectors as the
// port of the core that it is; "rom." is the ROM's.
function clean(name, names) {
  const bit = /^(core\.i|core\.o|i|o|bus_in)\[(\d+)\]$/.exec(name);
  if (bit) {
    let first = 0;
    for (let k = 0, list = names[bit[1].endsWith('o') ? 'o' : 'i']; k < list.length; k += 2) {
      if (Number(bit[2]) < first + list[k + 1])
        return list[k];
      first += list[k + 1];
    }
  }
  const base = name.replace(/^core\./, '').replace(/^a\./, '')
    .split(/_SB_|\$/)[0].replace(/\[\d+\]$/, '');
  return { bus_in: 'bus input register', bus_out: 'bus output register',
    fold: 'bus output register' }[base] ?? base;
}

// The median seed's critical path: where it starts (the register that
// drives its first net) and ends (a register, and which of its inputs,
// or a block RAM's), and its LUTs and carries.
function criticalPath(report, names) {
  const clock = Object.keys(report.fmax)[0];
  const steps = report.critical_paths.find((p) =>
    p.from === `posedge ${clock}` && p.to === `posedge ${clock}`).path;
  const first = steps.find((s) => s.type === 'routing');
  const start = /^RDATA/.test(first.from.port) ? 'block RAM' :
    clean(first.net, names);
  const { cell, port } = steps[steps.length - 1].to;
  const input = port.replace(/_\d+$/, '');
  const end = /_RAM$/.test(cell) ?
    `block RAM ${{ RADDR: 'address', RE: 'read enable', RCLKE: 'clock enable' }[input] ?? input}` :
    clean(cell, names) + ({ CEN: ' (enable)', SR: ' (reset)' }[input] ?? '');
  const luts = steps.filter((s) => s.type === 'logic' &&
    /^I[0-3]$/.test(s.from.port) && s.to.port === 'O').length;
  const carries = steps.filter((s) => s.type === 'logic' && s.to.port === 'COUT').length;
  return `${start} -> ${end} (${luts} LUT${luts === 1 ? '' : 's'}` +
    (carries ? `, ${carries} carr${carries === 1 ? 'y' : 'ies'})` : ')');
}

async function measure(toolchain, design) {
  const dir = path.join(work, toolchain.name, design);
  fs.mkdirSync(dir, { recursive: true });
  const shape = core(design);
  fs.writeFileSync(path.join(dir, 'core.v'), shape.text);
  fs.writeFileSync(path.join(dir, 'top.v'), wrapper(shape));
  fs.copyFileSync(romFile, path.join(dir, 'rom.v'));
  const sources = ['core.v', 'rom.v'];
  if (design !== 'rom') {
    fs.copyFileSync(path.join(top, 'adapters', `quelto_${design}_adapter.v`),
      path.join(dir, 'adapter.v'));
    sources.push('adapter.v');
  }
  await limited(() => execute(toolchain, dir, 'yosys', ['-q', '-p',
    'synth_ice40 -top core; tee -q -o core.stat stat', ...sources]));
  await limited(() => execute(toolchain, dir, 'yosys', ['-q', '-p',
    'synth_ice40 -top top -json top.json', 'top.v', ...sources]));
  const stat = fs.readFileSync(path.join(dir, 'core.stat'), 'utf8');
  const cells = (pattern) => [...stat.matchAll(/^\s+(\S+)\s+(\d+)$/gm)]
    .filter(([, type]) => pattern.test(type))
    .reduce((sum, [, , count]) => sum + Number(count), 0);
  const runs = await Promise.all(seeds.map((seed) => limited(async () => {
    const report = `seed${seed}.json`;
    await execute(toolchain, dir, 'nextpnr-ice40', ['--hx8k', '--package',
      'ct256', '--freq', '200', '--seed', String(seed), '--json', 'top.json',
      '--report', report, '--timing-allow-fail']);
    const data = JSON.parse(fs.readFileSync(path.join(dir, report), 'utf8'));
    return { mhz: Object.values(data.fmax)[0].achieved,
      path: criticalPath(data, shape.names) };
  })));
  runs.sort((a, b) => a.mhz - b.mhz);
  return { design, runs, luts: cells(/^SB_LUT4$/), dffs: cells(/^SB_DFF/),
    carries: cells(/^SB_CARRY$/) };
}

async function versions(toolchain) {
  const yosys = await execute(toolchain, work, 'yosys', ['-V']);
  const nextpnr = await execute(toolchain, work, 'nextpnr-ice40', ['--version']);
  return `${yosys.trim().replace(/ \(.*/, '')}, ` +
    nextpnr.trim().replace(/^.*\(Version (?:nextpnr-)?([^)]*)\).*$/s, 'nextpnr-ice40 $1');
}

for (const toolchain of toolchains) {
  let version;
  try {
    version = await versions(toolchain);
  } catch {
    console.log(`${toolchain.name}: not installed, not measured`);
    continue;
  }
  console.log(`${toolchain.name} (${version}): iCE40 HX8K, ${romModule}, ` +
    `--freq 200, seeds ${seeds.join(', ')}`);
  const results = await Promise.all(designs.map((d) => measure(toolchain, d)));
  const rom = results[0].runs[1].mhz;
  console.log(`  ${'design'.padEnd(34)} ${'Fmax MHz: min'.padStart(13)} ` +
    `median    max  ratio   LUT4   DFF carry  critical path (median seed)`);
  for (const { design, runs, luts, dffs, carries } of results) {
    const name = design === 'rom' ? `${romModule} alone` :
      `quelto_${design}_adapter`;
    const [low, median, high] = runs.map((r) => r.mhz.toFixed(1));
    console.log(`  ${name.padEnd(34)} ${low.padStart(13)} ${median.padStart(6)} ` +
      `${high.padStart(6)} ${(runs[1].mhz / rom).toFixed(2).padStart(6)} ` +
      `${String(luts).padStart(6)} ${String(dffs).padStart(5)} ` +
      `${String(carries).padStart(5)}  ${runs[1].path}`);
  }
}
