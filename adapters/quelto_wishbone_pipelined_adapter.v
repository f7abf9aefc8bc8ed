// SPDX-License-Identifier: ISC
// quelto_wishbone_pipelined_adapter: a Wishbone B4 pipelined slave in
// front of a ROM module that quelto wrote.
//
// Connects a pipelined Wishbone master (wb_*) to the module's bus
// (rom_*): wire rom_ad, rom_sel and rom_rd to the module's mem_ad,
// mem_sel and mem_rd, and its mem_rdata to rom_rdata.  The adapter
// decodes no address: raise wb_stb_i only for the ROM's range.  wb_adr_i
// is a byte address; the ROM ignores bits 1:0 and wb_sel_i, and returns
// whole words.
//
// Latency: a request is taken at an edge with wb_cyc_i and wb_stb_i high
// and wb_stall_o low, and answered in the next clock: wb_ack_o with the
// word for a read, wb_err_o for a write, which changes nothing.  Answers
// come in the order of the requests, one for each.  A master that drops
// wb_cyc_i abandons the answer owed: it may still show in the clock in
// which wb_cyc_i is low, as the Wishbone rules allow, and none comes
// after that clock.
//
// Throughput: one read per clock, with a request at every edge.
// wb_stall_o is high exactly while wb_rst_i is high, so a master without
// STALL (NEORV32's external bus) may leave it unconnected if it holds its
// requests while the adapter is in reset, and a request at an edge
// without reset is always taken.
//
// Outputs: wb_ack_o and wb_err_o are registers; wb_dat_o is the module's
// own output register gated by wb_ack_o, and 0 whenever wb_ack_o is low;
// wb_stall_o is wb_rst_i itself.  rom_ad, rom_sel and rom_rd follow the
// bus within the clock, so that the module takes the address at the
// request's own edge.  wb_rst_i is synchronous; every register starts at
// 0, which is idle, so that a design without a reset works too.
//
// Paths from a bus input to a bus output without a register:
//   wb_rst_i -> wb_stall_o: no request is taken in reset, and STALL says
//   so in the same clock.

`default_nettype none

module quelto_wishbone_pipelined_adapter (
  input  wire        wb_clk_i,
  input  wire        wb_rst_i,
  input  wire        wb_cyc_i,
  input  wire        wb_stb_i,
  input  wire        wb_we_i,
  input  wire [31:0] wb_adr_i,
  input  wire [3:0]  wb_sel_i,
  input  wire [31:0] wb_dat_i,
  output wire [31:0] wb_dat_o,
  output reg         wb_ack_o = 1'b0,
  output reg         wb_err_o = 1'b0,
  output wire        wb_stall_o,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // In reset no request is taken: STALL says so to a master, from the
  // clock in which reset rises to the one in which it falls.
  assign wb_stall_o = wb_rst_i;
  // The request taken at this edge.
  wire take = wb_cyc_i && wb_stb_i && !wb_rst_i;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock, and its word is there in the next.
  assign rom_ad   = wb_adr_i;
  assign rom_sel  = take && !wb_we_i;
  assign rom_rd   = rom_sel;
  assign wb_dat_o = wb_ack_o ? rom_rdata : 32'h0;

  always @(posedge wb_clk_i) begin
    wb_ack_o   <= rom_sel;
    wb_err_o   <= take && wb_we_i;
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, wb_sel_i, wb_dat_i};

`ifdef FORMAL
  wire [31:2] f_address;
  wire [31:0] f_word;
  wire        f_read;
  wire [31:2] f_read_ad;
  wire        f_past_valid;
  quelto_formal_rom rom (
    .clk(wb_clk_i), .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata), .f_address(f_address), .f_word(f_word),
    .f_read(f_read), .f_read_ad(f_read_ad), .f_past_valid(f_past_valid));

  wire [2:0] f_outstanding;
  quelto_formal_wishbone #(.PIPELINED(1), .BURST(0)) bus (
    .clk(wb_clk_i), .rst(wb_rst_i), .cyc(wb_cyc_i), .stb(wb_stb_i),
    .we(wb_we_i), .adr(wb_adr_i), .sel(wb_sel_i), .dat_w(wb_dat_i),
    .cti(3'b000), .bte(2'b00), .stall(wb_stall_o),
    .ack(wb_ack_o), .err(wb_err_o), .dat_r(wb_dat_o),
    .f_address(f_address), .f_word(f_word), .f_outstanding(f_outstanding));

  always @(posedge wb_clk_i) begin
    // Proven: the ROM is read only at an edge that takes a read request,
    // never in reset.
    if (rom_sel || rom_rd)
      assert(wb_cyc_i && wb_stb_i && !wb_stall_o && !wb_we_i && !wb_rst_i);
    // Proven: STALL is high exactly while reset is: a request at an edge
    // without reset is taken, and none is taken in reset.
    assert(wb_stall_o == wb_rst_i);
    if (f_past_valid) begin
      // Proven: every request taken is answered in the next clock.
      assert((wb_ack_o || wb_err_o) == $past(take));
      // The adapter's state agrees with the ROM's and the bus's.
      assert(wb_ack_o == f_read);
      assert(f_outstanding == {2'b00, wb_ack_o || wb_err_o});
    end
  end
`endif
endmodule

`default_nettype wire
