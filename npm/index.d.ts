// SPDX-License-Identifier: ISC

/** What a run of quelto gives: what the command gives. */
export interface Result {
  /** 0 when the module was written, 1 when the input was refused. */
  status: number;
  /** The Verilog file; after a failure, its header alone. */
  stdout: Uint8Array;
  /** Empty, or the one line that says why the input was refused. */
  stderr: string;
}

/**
 * Converts Motorola S-records into a Verilog ROM module, as
 * `quelto [moduleName] < input` does.
 *
 * @param input The S-records: text, read as UTF-8, or bytes.
 * @param moduleName The module's name; without it, `vemo_bootrom`.
 */
export function convert(input: string | Uint8Array | ArrayBuffer, moduleName?: string): Promise<Result>;
