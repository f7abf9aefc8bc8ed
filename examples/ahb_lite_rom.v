// SPDX-License-Identifier: ISC
// The boot ROM as an AHB-Lite subordinate at 0x80000000, for an image of
// up to 64 KiB: the decode of HSEL, the adapter and the module that
// quelto wrote (boot_rom).  HREADY is the bus's, which the interconnect
// gives every subordinate, and HREADYOUT goes to its multiplexor; on a
// bus with this subordinate alone, HREADY is HREADYOUT.  A manager's
// transfers outside the window get no answer here; the interconnect's
// default subordinate answers them.

module ahb_lite_rom (
  input  wire        hclk,
  input  wire        hresetn,
  input  wire [31:0] haddr,
  input  wire [1:0]  htrans,
  input  wire        hwrite,
  input  wire [2:0]  hsize,
  input  wire [2:0]  hburst,
  input  wire [3:0]  hprot,
  input  wire        hmastlock,
  input  wire [31:0] hwdata,
  input  wire        hready,
  output wire        hreadyout,
  output wire        hresp,
  output wire [31:0] hrdata
);
  wire        hsel = haddr[31:16] == 16'h8000;
  wire [31:0] rom_ad;
  wire        rom_sel, rom_rd;
  wire [31:0] rom_rdata;

  quelto_ahb_lite_adapter bus (
    .hclk(hclk), .hresetn(hresetn), .hsel(hsel), .haddr(haddr),
    .htrans(htrans), .hwrite(hwrite), .hsize(hsize), .hburst(hburst),
    .hprot(hprot), .hmastlock(hmastlock), .hwdata(hwdata), .hready(hready),
    .hreadyout(hreadyout), .hresp(hresp), .hrdata(hrdata),
    .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata));

  boot_rom rom (
    .clk(hclk), .mem_ad(rom_ad), .mem_sel(rom_sel), .mem_rd(rom_rd),
    .mem_rdata(rom_rdata));
endmodule
