// SPDX-License-Identifier: ISC
// The boot ROM on a read-only OBI port, such as a core's instruction
// port, that fetches from the ROM alone: the adapter, with its write
// inputs tied off, and the module that quelto wrote (boot_rom).  The
// adapter answers every request it is given, so the window is whatever
// the port reaches; the module uses only the address bits of its table.

module obi_rom (
  input  wire        clk,
  input  wire        rst_n,
  input  wire        req,
  output wire        gnt,
  input  wire [31:0] addr,
  output wire        rvalid,
  output wire [31:0] rdata,
  output wire        err
);
  wire [31:0] rom_ad;
  wire        rom_sel, rom_rd;
  wire [31:0] rom_rdata;

  quelto_obi_adapter bus (
    .clk_i(clk), .rst_ni(rst_n), .req_i(req), .gnt_o(gnt), .addr_i(addr),
    .we_i(1'b0), .be_i(4'hf), .wdata_i(32'h0),
    .rvalid_o(rvalid), .rdata_o(rdata), .err_o(err),
    .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata));

  boot_rom rom (
    .clk(clk), .mem_ad(rom_ad), .mem_sel(rom_sel), .mem_rd(rom_rd),
    .mem_rdata(rom_rdata));
endmodule
