// SPDX-License-Identifier: ISC
// quelto_ahb_lite_adapter: an AHB-Lite subordinate in front of a ROM
// module that quelto wrote.
//
// Connects an AHB-Lite bus (h*) to the module's bus (rom_*): wire rom_ad,
// rom_sel and rom_rd to the module's mem_ad, mem_sel and mem_rd, and its
// mem_rdata to rom_rdata.  The adapter decodes no address: the decoder
// raises hsel only for the ROM's range.  hready is the bus's HREADY, as
// the interconnect gives it to every subordinate; hreadyout goes to the
// interconnect's multiplexor.  haddr is a byte address; reads return
// whole words, whatever hsize and hburst say (the manager takes its byte
// lanes).  AHB5's extra signals, where a manager has them, are for the
// interconnect: a ROM ignores them.
//
// Latency: no wait state.  A read (HTRANS NONSEQ or SEQ, any burst) goes
// to the ROM at the edge that ends its address phase, and hrdata carries
// the word in its data phase, the next clock, with hreadyout high and
// hresp OKAY.  IDLE and BUSY get a zero-wait OKAY.  A write gets the
// two-cycle ERROR response (hresp high with hreadyout low, then both
// high), and changes nothing.  A transfer whose address phase does not
// end, hready low as another subordinate stretches the bus, is not taken.
//
// Throughput: one read per clock, back to back.
//
// Outputs: hreadyout and hresp are decoded from registers alone; hrdata
// is the module's own output register gated by a register, and 0 outside
// a read's data phase.  No bus input reaches a bus output without a
// register.  rom_ad, rom_sel and rom_rd follow the bus within the clock,
// so that the module takes the address at the edge that ends the address
// phase.  hresetn is synchronous, and hreadyout is high in reset; every
// register starts at 0, which is idle, so that a design without a reset
// works too.
//
// Paths from a bus input to a bus output without a register: none.

`default_nettype none

module quelto_ahb_lite_adapter (
  input  wire        hclk,
  input  wire        hresetn,
  input  wire        hsel,
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
  output wire [31:0] hrdata,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // A read or write of this subordinate's whose address phase ends at
  // this edge (HTRANS NONSEQ or SEQ).
  wire transfer = hsel && hready && htrans[1] && hresetn;

  // The data phase: a read, whose word is on rom_rdata now; or the first
  // or the second clock of a write's ERROR response.
  reg reading = 1'b0;
  reg error_first = 1'b0;
  reg error_second = 1'b0;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock, and its word is there in the next.
  assign rom_ad    = haddr;
  assign rom_sel   = transfer && !hwrite;
  assign rom_rd    = rom_sel;
  assign hrdata    = reading ? rom_rdata : 32'h0;
  assign hreadyout = !error_first;
  assign hresp     = error_first || error_second;

  always @(posedge hclk) begin
    reading      <= rom_sel;
    error_first  <= transfer && hwrite;
    error_second <= error_first && hresetn;
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, htrans[0], hsize, hburst, hprot, hmastlock, hwdata};

`ifdef FORMAL
  wire [31:2] f_address;
  wire [31:0] f_word;
  wire        f_read;
  wire [31:2] f_read_ad;
  wire        f_past_valid;
  quelto_formal_rom rom (
    .clk(hclk), .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata), .f_address(f_address), .f_word(f_word),
    .f_read(f_read), .f_read_ad(f_read_ad), .f_past_valid(f_past_valid));

  wire        f_data, f_write;
  wire [31:2] f_addr;
  quelto_formal_ahb_lite bus (
    .hclk(hclk), .hresetn(hresetn), .hsel(hsel), .haddr(haddr),
    .htrans(htrans), .hwrite(hwrite), .hready(hready),
    .hreadyout(hreadyout), .hresp(hresp), .hrdata(hrdata),
    .f_address(f_address), .f_word(f_word),
    .f_data(f_data), .f_write(f_write), .f_addr(f_addr));

  always @(posedge hclk) begin
    // Proven: the ROM is read only at an edge that ends the address phase
    // of a read, never in reset.
    if (rom_sel || rom_rd)
      assert(hsel && hready && htrans[1] && !hwrite && hresetn);
    if (f_past_valid) begin
      // The adapter's state agrees with the ROM's and the bus's.
      assert(reading == f_read);
      if (reading)
        assert(f_read_ad == f_addr);
      assert(reading == (f_data && !f_write));
      assert((error_first || error_second) == (f_data && f_write));
      assert(!(error_first && error_second));
    end
  end
`endif
endmodule

`default_nettype wire
