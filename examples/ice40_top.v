// SPDX-License-Identifier: ISC
// Top level of an iCE40 design that holds the boot ROM.  Here the ROM's
// bus comes out on the FPGA's pins; in your design a processor drives it,
// and this instance moves into your own top level.

module ice40_top (
  input         clk,
  input  [31:0] mem_ad,
  input         mem_sel,
  input         mem_rd,
  output [31:0] mem_rdata
);
  boot_rom rom (.mem_rdata(mem_rdata), .clk(clk), .mem_ad(mem_ad),
                .mem_sel(mem_sel), .mem_rd(mem_rd));
endmodule
