// SPDX-License-Identifier: ISC
// The memory side of a PicoRV32-style processor: two ROMs that quelto
// wrote, the boot program (boot_rom) at 0x80000000 and a table of
// constants (data_rom) at 0x80010000, each behind a valid/ready adapter
// and answering for its own 64 KiB.  An adapter's data is 0 while it
// gives no answer, so an OR joins the devices' answers; a RAM or a UART
// joins them the same way, if its data is 0 when it does not answer.

module picorv32_memory (
  input  wire        clk,
  input  wire        resetn,
  input  wire        mem_valid,
  input  wire [31:0] mem_addr,
  input  wire [31:0] mem_wdata,
  input  wire [3:0]  mem_wstrb,
  output wire        mem_ready,
  output wire [31:0] mem_rdata
);
  wire        boot_valid = mem_valid && mem_addr[31:16] == 16'h8000;
  wire        boot_ready;
  wire [31:0] boot_rdata;
  wire [31:0] boot_ad;
  wire        boot_sel, boot_rd;
  wire [31:0] boot_word;

  wire        data_valid = mem_valid && mem_addr[31:16] == 16'h8001;
  wire        data_ready;
  wire [31:0] data_rdata;
  wire [31:0] data_ad;
  wire        data_sel, data_rd;
  wire [31:0] data_word;

  assign mem_ready = boot_ready | data_ready;
  assign mem_rdata = boot_rdata | data_rdata;

  quelto_valid_ready_adapter boot_bus (
    .clk(clk), .resetn(resetn),
    .mem_valid(boot_valid), .mem_addr(mem_addr), .mem_wdata(mem_wdata),
    .mem_wstrb(mem_wstrb), .mem_ready(boot_ready), .mem_rdata(boot_rdata),
    .rom_ad(boot_ad), .rom_sel(boot_sel), .rom_rd(boot_rd),
    .rom_rdata(boot_word));
  boot_rom boot (
    .clk(clk), .mem_ad(boot_ad), .mem_sel(boot_sel), .mem_rd(boot_rd),
    .mem_rdata(boot_word));

  quelto_valid_ready_adapter data_bus (
    .clk(clk), .resetn(resetn),
    .mem_valid(data_valid), .mem_addr(mem_addr), .mem_wdata(mem_wdata),
    .mem_wstrb(mem_wstrb), .mem_ready(data_ready), .mem_rdata(data_rdata),
    .rom_ad(data_ad), .rom_sel(data_sel), .rom_rd(data_rd),
    .rom_rdata(data_word));
  data_rom data (
    .clk(clk), .mem_ad(data_ad), .mem_sel(data_sel), .mem_rd(data_rd),
    .mem_rdata(data_word));
endmodule
