// SPDX-License-Identifier: ISC
// The boot ROM as a Wishbone slave at 0x80000000, for an image of up to
// 64 KiB: the address decode, the adapter and the module that quelto
// wrote (boot_rom).  A master's cycles outside the window get no answer
// here; the interconnect answers them, or routes them elsewhere.

module wishbone_rom (
  input  wire        clk,
  input  wire        rst,
  input  wire        cyc,
  input  wire        stb,
  input  wire        we,
  input  wire [31:0] adr,
  input  wire [3:0]  sel,
  input  wire [31:0] dat_w,
  output wire [31:0] dat_r,
  output wire        ack,
  output wire        err
);
  wire        rom_stb = stb && adr[31:16] == 16'h8000;
  wire [31:0] rom_ad;
  wire        rom_sel, rom_rd;
  wire [31:0] rom_rdata;

  quelto_wishbone_adapter bus (
    .wb_clk_i(clk), .wb_rst_i(rst),
    .wb_cyc_i(cyc), .wb_stb_i(rom_stb), .wb_we_i(we), .wb_adr_i(adr),
    .wb_sel_i(sel), .wb_dat_i(dat_w),
    .wb_dat_o(dat_r), .wb_ack_o(ack), .wb_err_o(err),
    .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata));

  boot_rom rom (
    .clk(clk), .mem_ad(rom_ad), .mem_sel(rom_sel), .mem_rd(rom_rd),
    .mem_rdata(rom_rdata));
endmodule
