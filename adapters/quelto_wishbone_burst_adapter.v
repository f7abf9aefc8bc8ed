// SPDX-License-Identifier: ISC
// quelto_wishbone_burst_adapter: a Wishbone B4 classic slave with
// registered-feedback bursts (CTI and BTE) in front of a ROM module that
// quelto wrote.
//
// Connects a Wishbone master (wb_*) to the module's bus (rom_*): wire
// rom_ad, rom_sel and rom_rd to the module's mem_ad, mem_sel and mem_rd,
// and its mem_rdata to rom_rdata.  The adapter decodes no address: raise
// wb_stb_i only for the ROM's range.  wb_adr_i is a byte address; the ROM
// ignores bits 1:0 and wb_sel_i, and returns whole words.
//
// Bursts: constant address (CTI 001) and incrementing (CTI 010), linear
// or wrapping at 4, 8 or 16 words (BTE 00, 01, 10, 11).  The first word
// is acknowledged in the second clock of its request, as a classic read.
// At the edge that completes a transfer whose CTI announces more, the
// adapter reads the burst's next word from the ROM (reading ahead), and
// acknowledges it in the next clock if the transfer on the bus then goes
// on with the burst: wb_stb_i high, with CTI 001, 010 or 111.  While the
// master keeps STB high and CTI and BTE, that is one word per clock, up
// to and including the end-of-burst transfer (CTI 111), after which
// nothing is acknowledged.  A master that leaves the burst in that clock
// as Wishbone allows gets no word read for another transfer: a classic
// cycle (CTI 000, or a reserved value), at any address, read or write,
// waits one more clock and is served as a new request, acknowledged (or,
// for a write, refused with wb_err_o) in the clock after that; with STB
// low, or a new cycle after CYC low, the next request is served as a
// first word.  In that clock the adapter looks at wb_stb_i and wb_cti_i
// only, not at wb_adr_i, wb_we_i or wb_cyc_i: a master that breaks its
// burst's promise, with CTI 001, 010 or 111 at another address, or for a
// write, or with another BTE within the burst, gets words read ahead for
// the burst's next addresses, acknowledged, and the write changes
// nothing; an interconnect must not give the bus to another master in
// that clock with CTI 001, 010 or 111 unless CYC has been low at an edge
// between.  Classic cycles (CTI 000, and the reserved values) are served
// as quelto_wishbone_adapter serves them.  A write gets wb_err_o in its
// second clock, and changes nothing; with ACK_WRITES 1, for a master that
// has no ERR input, wb_ack_o instead, with wb_dat_o 0.  Every answer is
// high for one clock.
//
// Throughput: a burst of N words in N + 1 clocks; classic reads one every
// two clocks.
//
// Outputs: wb_err_o is a register; wb_ack_o is a register, or, in the
// clock of a word read ahead, a register gated by wb_stb_i and wb_cti_i;
// wb_dat_o is the module's own output register gated by wb_ack_o, and 0
// whenever wb_ack_o is low.  No path from wb_adr_i, wb_we_i or wb_cyc_i
// reaches an output, so a master or an arbiter whose ADR or CYC follows
// ACK within the clock closes no loop, and one that drives ADR and WE
// unknown while STB is low makes no output unknown.  rom_ad, rom_sel and
// rom_rd follow the bus within the clock, so that the module takes the
// address at the request's own edge; the ROM reads at every edge with a
// read on the bus, at the word after the one that it holds while it
// holds one.  wb_rst_i is synchronous; every register starts at 0, which
// is idle, so that a design without a reset works too.
//
// Paths from a bus input to a bus output without a register:
//   wb_stb_i, wb_cti_i -> wb_ack_o, wb_dat_o: a word read ahead is
//   acknowledged only if the transfer on the bus goes on with the burst.

`default_nettype none

module quelto_wishbone_burst_adapter #(
  parameter ACK_WRITES = 0
) (
  input  wire        wb_clk_i,
  input  wire        wb_rst_i,
  input  wire        wb_cyc_i,
  input  wire        wb_stb_i,
  input  wire        wb_we_i,
  input  wire [31:0] wb_adr_i,
  input  wire [3:0]  wb_sel_i,
  input  wire [31:0] wb_dat_i,
  input  wire [2:0]  wb_cti_i,
  input  wire [1:0]  wb_bte_i,
  output wire [31:0] wb_dat_o,
  output wire        wb_ack_o,
  output reg         wb_err_o = 1'b0,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  localparam [2:0] CONSTANT = 3'b001, INCREMENTING = 3'b010,
                   END_OF_BURST = 3'b111;
  localparam [1:0] LINEAR = 2'b00, WRAP4 = 2'b01, WRAP8 = 2'b10;

  // What the ROM read at the last edge, if it is an answer: the word of
  // a request that had none (first, acknowledged now), or a burst's next
  // word, read ahead (ahead, acknowledged only if the transfer on the bus
  // goes on with the burst).  held is either.  next_ad is the address of
  // the word after the one held, in the burst whose CTI and BTE are
  // held_cti and held_bte.
  reg        first = 1'b0;
  reg        ahead = 1'b0;
  reg        held = 1'b0;
  reg        acked_write = 1'b0;
  reg [31:2] next_ad = 30'd0;
  reg        held_constant = 1'b0;

  // The transfer on the bus goes on with a burst: its CTI, and STB.
  wire goes_on = wb_stb_i && (wb_cti_i == CONSTANT ||
                 wb_cti_i == INCREMENTING || wb_cti_i == END_OF_BURST);
  assign wb_ack_o = first || acked_write || ahead && goes_on;
  // After a write the ROM gives 0, as it read nothing.
  assign wb_dat_o = wb_ack_o ? rom_rdata : 32'h0;

  // The ROM registers the address itself, and reads at every edge with a
  // read on the bus: the word after the one held, if any, or else the
  // word that the bus asks for.
  wire cycle = wb_cyc_i && wb_stb_i && !wb_rst_i;
  assign rom_ad  = held ? {next_ad, 2'b00} : wb_adr_i;
  assign rom_sel = cycle && !wb_we_i;
  assign rom_rd  = rom_sel;

  // The word after the one read at this edge, in a burst of this CTI
  // and BTE: the same for a constant address; the next one, within its
  // aligned block of 4, 8 or 16 words when the burst wraps, where the
  // carry stops.
  wire        carry4;
  wire [3:2]  low;
  assign {carry4, low} = {1'b0, rom_ad[3:2]} + {2'd0, wb_cti_i != CONSTANT};
  wire        into4 = carry4 && wb_bte_i != WRAP4;
  wire        into5 = rom_ad[4] && into4 && wb_bte_i != WRAP8;
  wire        into6 = rom_ad[5] && into5 && wb_bte_i == LINEAR;
  wire [31:6] high  = rom_ad[31:6] + {25'd0, into6};
  wire [31:2] after = {high, rom_ad[5] ^ into5, rom_ad[4] ^ into4, low};

  // A request that has had no answer yet, and whether this edge reads a
  // burst's next word for the transfer after it: the transfer that this
  // edge completes is a read whose CTI announces more, and the word held
  // was read for a burst of the same CTI and BTE, or for this transfer.
  wire request  = cycle && !wb_ack_o && !wb_err_o;
  wire same     = wb_cti_i == CONSTANT && held_constant ||
                  wb_cti_i == INCREMENTING && !held_constant;
  always @(posedge wb_clk_i) begin
    first       <= rom_sel && !held;
    ahead       <= rom_sel && held && same;
    held        <= rom_sel && (!held || same);
    acked_write <= ACK_WRITES != 0 && request && wb_we_i;
    wb_err_o    <= ACK_WRITES == 0 && request && wb_we_i;
    if (rom_sel) begin
      next_ad  <= after;
      held_constant <= wb_cti_i == CONSTANT;
    end
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

  wire        f_burst_promised;
  wire [31:2] f_burst_next;
  quelto_formal_wishbone #(
    .PIPELINED(0), .BURST(1), .ACK_WRITES(ACK_WRITES)
  ) bus (
    .clk(wb_clk_i), .rst(wb_rst_i), .cyc(wb_cyc_i), .stb(wb_stb_i),
    .we(wb_we_i), .adr(wb_adr_i), .sel(wb_sel_i), .dat_w(wb_dat_i),
    .cti(wb_cti_i), .bte(wb_bte_i), .stall(1'b0),
    .ack(wb_ack_o), .err(wb_err_o), .dat_r(wb_dat_o),
    .f_address(f_address), .f_word(f_word), .f_outstanding(),
    .f_burst_promised(f_burst_promised), .f_burst_next(f_burst_next));

  // The word after a word address in a burst of a CTI and a BTE, read
  // here apart from the adapter's logic.
  function [31:2] f_after(input [31:2] at, input [2:0] cti, input [1:0] bte);
    reg [31:2] block;
    begin
      block = bte == LINEAR ? 30'h3fffffff : bte == WRAP4 ? 30'd3 :
              bte == WRAP8 ? 30'd7 : 30'd15;
      f_after = cti == CONSTANT ? at : at & ~block | at + 30'd1 & block;
    end
  endfunction

  // The BTE of the last read.
  reg [1:0] f_held_bte = 2'd0;
  always @(posedge wb_clk_i)
    if (rom_sel)
      f_held_bte <= wb_bte_i;

  always @(posedge wb_clk_i) begin
    // Proven: the ROM is read only at an edge with a read on the bus,
    // never in reset.
    if (rom_sel || rom_rd)
      assert(wb_cyc_i && wb_stb_i && !wb_we_i && !wb_rst_i);
    if (f_past_valid) begin
      // Proven: every request is answered in its second clock, but one
      // that meets a word read ahead for the burst that it leaves, in
      // its third: that word is gone in its second clock.
      if ($past(request && !held))
        assert(wb_ack_o || wb_err_o);
      if ($past(request && held))
        assert(!held);
      // Proven: a transfer of a burst after its first is acknowledged
      // in the clock after the one before, if it goes on with the burst
      // and the one before had the same CTI and BTE, or was its first:
      // N words in N + 1 clocks.
      if ($past(cycle && wb_ack_o && !wb_we_i && (first || same) &&
                (wb_cti_i == CONSTANT || wb_cti_i == INCREMENTING)) && goes_on)
        assert(wb_ack_o);
      // The adapter's state agrees with the ROM's and the bus's.
      assert(held == (first || ahead) && !(first && ahead));
      if (held)
        assert(f_read && next_ad == f_after(f_read_ad,
                 held_constant ? CONSTANT : INCREMENTING, f_held_bte));
      if (first && wb_cyc_i && wb_stb_i)
        assert(f_read_ad == wb_adr_i[31:2] && !wb_we_i &&
               held_constant == (wb_cti_i == CONSTANT) &&
               f_held_bte == wb_bte_i);
      if (ahead)
        assert(f_burst_promised && f_read_ad == f_burst_next);
      if (acked_write || wb_err_o)
        assert(!held && !f_read);
    end else
      assert(!held && !first && !ahead && !acked_write && !wb_err_o);
  end
`endif
endmodule

`default_nettype wire
