// SPDX-License-Identifier: ISC
// quelto_obi_adapter: an OBI 1.x subordinate, as Ibex, CVE2 and CV32E40P
// drive it (no rready), in front of a ROM module that quelto wrote.
//
// Connects the processor's instruction or data port (req_i, gnt_o, ...)
// to the module's bus (rom_*): wire rom_ad, rom_sel and rom_rd to the
// module's mem_ad, mem_sel and mem_rd, and its mem_rdata to rom_rdata.
// The adapter decodes no address: raise req_i only for the ROM's range.
// addr_i is a byte address; the ROM ignores bits 1:0 and be_i, and
// returns whole words.
//
// Latency: gnt_o is high exactly while rst_ni is, from power-up on in a
// design without a reset, so a request is granted at the first edge that
// sees req_i out of reset; its answer, rvalid_o with the word in rdata_o
// for a read, comes in the next clock.  A write is answered likewise,
// with err_o high; it changes nothing.  No request is granted in reset.
//
// Throughput: one read per clock, with a request at every edge.
//
// Outputs: rvalid_o and err_o are registers; rdata_o is the module's own
// output register gated by rvalid_o and err_o, and 0 while rvalid_o is
// low; err_o is low with every read; gnt_o is rst_ni itself.  rom_ad,
// rom_sel and rom_rd follow req_i and addr_i within the clock, so that
// the module takes the address at the edge of the grant.  rst_ni is
// synchronous here (take it through a reset synchroniser if yours is
// not); every register starts at 0, which is idle, so that a design
// without a reset works too.
//
// Paths from a bus input to a bus output without a register:
//   rst_ni -> gnt_o: no request is granted in reset, and gnt_o says so in
//   the same clock.

`default_nettype none

module quelto_obi_adapter (
  input  wire        clk_i,
  input  wire        rst_ni,
  input  wire        req_i,
  output wire        gnt_o,
  input  wire [31:0] addr_i,
  input  wire        we_i,
  input  wire [3:0]  be_i,
  input  wire [31:0] wdata_i,
  output reg         rvalid_o = 1'b0,
  output wire [31:0] rdata_o,
  output reg         err_o = 1'b0,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // Granted at every edge out of reset, at none in reset.
  assign gnt_o = rst_ni;
  // The request granted at this edge.
  wire granted = req_i && gnt_o;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock, and its word is there in the next.
  assign rom_ad  = addr_i;
  assign rom_sel = granted && !we_i;
  assign rom_rd  = rom_sel;
  // The answer to a read: the ROM's word is on rom_rdata now.
  assign rdata_o = rvalid_o && !err_o ? rom_rdata : 32'h0;

  always @(posedge clk_i) begin
    rvalid_o <= granted;
    err_o    <= granted && we_i;
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, be_i, wdata_i};

`ifdef FORMAL
  wire [31:2] f_address;
  wire [31:0] f_word;
  wire        f_read;
  wire [31:2] f_read_ad;
  wire        f_past_valid;
  quelto_formal_rom rom (
    .clk(clk_i), .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata), .f_address(f_address), .f_word(f_word),
    .f_read(f_read), .f_read_ad(f_read_ad), .f_past_valid(f_past_valid));

  wire [2:0] f_outstanding;
  quelto_formal_obi bus (
    .clk(clk_i), .rst_ni(rst_ni), .req(req_i), .gnt(gnt_o), .addr(addr_i),
    .we(we_i), .be(be_i), .wdata(wdata_i), .rvalid(rvalid_o),
    .rdata(rdata_o), .err(err_o), .f_address(f_address), .f_word(f_word),
    .f_outstanding(f_outstanding));

  always @(posedge clk_i) begin
    // Proven: the ROM is read only at an edge that grants a read, never
    // in reset.
    if (rom_sel || rom_rd)
      assert(req_i && gnt_o && !we_i && rst_ni);
    // Proven: gnt_o is high exactly while reset is not asserted, from
    // the first clock on: a request at an edge out of reset is granted,
    // and none in reset.
    assert(gnt_o == rst_ni);
    if (f_past_valid) begin
      // Proven: every request granted is answered in the next clock.
      assert(rvalid_o == $past(granted));
      // The adapter's state agrees with the ROM's and the bus's.
      assert(f_read == (rvalid_o && !err_o));
      assert(f_outstanding == {2'b00, rvalid_o});
    end
  end
`endif
endmodule

`default_nettype wire
