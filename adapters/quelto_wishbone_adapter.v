// SPDX-License-Identifier: ISC
// quelto_wishbone_adapter: a Wishbone B4 classic slave in front of a ROM
// module that quelto wrote.
//
// Connects a Wishbone master (wb_*) to the module's bus (rom_*): wire
// rom_ad, rom_sel and rom_rd to the module's mem_ad, mem_sel and mem_rd,
// and its mem_rdata to rom_rdata.  The adapter decodes no address: raise
// wb_stb_i only for the ROM's range.  wb_adr_i is a byte address; the ROM
// ignores bits 1:0 and wb_sel_i, and returns whole words.
//
// Latency: a read is acknowledged in the third clock of its request, so
// the master takes the word at the third rising edge that sees wb_stb_i
// high (two wait states).  A write gets wb_err_o instead of an ack, at
// the second edge; it changes nothing.
//
// Throughput: one read every three clocks.
//
// wb_dat_o is 0 whenever wb_ack_o is low, so the data of several slaves
// can be ORed.  Every output is a register that wb_rst_i clears: one
// clock edge in reset makes them, and the ROM's mem_rdata, known and 0.

`default_nettype none

module quelto_wishbone_adapter (
  input  wire        wb_clk_i,
  input  wire        wb_rst_i,
  input  wire        wb_cyc_i,
  input  wire        wb_stb_i,
  input  wire        wb_we_i,
  input  wire [31:0] wb_adr_i,
  input  wire [3:0]  wb_sel_i,
  input  wire [31:0] wb_dat_i,
  output reg  [31:0] wb_dat_o,
  output reg         wb_ack_o,
  output reg         wb_err_o,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // A request that has had no answer yet: the master holds it until it
  // sees one, so the clock of the answer must not take it again.
  wire request = wb_cyc_i && wb_stb_i && !wb_ack_o && !wb_err_o;

  // The ROM has been given the read; its word is on rom_rdata now.
  reg reading;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock.
  assign rom_ad  = wb_adr_i;
  assign rom_sel = request && !wb_we_i && !reading && !wb_rst_i;
  assign rom_rd  = rom_sel;

  always @(posedge wb_clk_i) begin
    if (wb_rst_i) begin
      reading  <= 1'b0;
      wb_ack_o <= 1'b0;
      wb_err_o <= 1'b0;
      wb_dat_o <= 32'h0;
    end else begin
      reading  <= rom_sel;
      // The word is there for this clock only; a master that dropped its
      // cycle meanwhile gets no ack.
      wb_ack_o <= reading && wb_cyc_i && wb_stb_i;
      wb_dat_o <= reading && wb_cyc_i && wb_stb_i ? rom_rdata : 32'h0;
      wb_err_o <= request && wb_we_i;
    end
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, wb_sel_i, wb_dat_i};

`ifdef FORMAL
  reg f_past_valid = 1'b0;
  always @(posedge wb_clk_i)
    f_past_valid <= 1'b1;

  // The master starts in reset, raises wb_stb_i only inside a cycle, and
  // holds a request, unchanged, until it is answered or it drops the
  // cycle.
  always @(*)
    if (!f_past_valid)
      assume(wb_rst_i);
  always @(*)
    if (wb_stb_i)
      assume(wb_cyc_i);
  always @(posedge wb_clk_i)
    if (f_past_valid && !$past(wb_rst_i) && $past(request) && wb_cyc_i) begin
      assume(wb_stb_i);
      assume(wb_we_i == $past(wb_we_i));
      assume(wb_adr_i == $past(wb_adr_i));
      assume(wb_sel_i == $past(wb_sel_i));
      assume(wb_dat_i == $past(wb_dat_i));
    end

  // The ROM, with quelto's timing: after an edge with rom_sel and rom_rd
  // high, the word at the address of that edge, and 0 after any other
  // edge.  At one address that the solver chooses it holds a word that the
  // solver chooses; anywhere else, anything.  Before its first edge its
  // output is unknown, as in the module, which has no reset.
  (* anyconst *) reg [31:2] f_address;
  (* anyconst *) reg [31:0] f_word;
  reg        f_rom_read;
  reg [31:2] f_rom_ad;
  always @(posedge wb_clk_i) begin
    f_rom_read <= rom_sel && rom_rd;
    if (rom_sel && rom_rd)
      f_rom_ad <= rom_ad[31:2];
  end
  always @(*)
    if (f_past_valid && !f_rom_read)
      assume(rom_rdata == 32'h0);
    else if (f_past_valid && f_rom_ad == f_address)
      assume(rom_rdata == f_word);

  // Whether the ROM has been read for the request in hand.
  reg f_read_done;
  always @(posedge wb_clk_i)
    if (wb_rst_i || !wb_cyc_i || !wb_stb_i || wb_ack_o || wb_err_o)
      f_read_done <= 1'b0;
    else if (rom_sel && rom_rd)
      f_read_done <= 1'b1;

  // Clocks that the request in hand has waited.
  reg [1:0] f_wait;
  always @(posedge wb_clk_i)
    if (wb_rst_i || !request)
      f_wait <= 2'd0;
    else
      f_wait <= f_wait + 2'd1;

  always @(posedge wb_clk_i)
    if (f_past_valid) begin
      // Proven: no answer in the clock after reset, nor without a request
      // at the edge before, nor to a request that had its answer; one
      // answer per request, then, and never both ack and err.
      if ($past(wb_rst_i))
        assert(!wb_ack_o && !wb_err_o);
      if (wb_ack_o || wb_err_o)
        assert(!$past(wb_rst_i) && $past(request));
      assert(!(wb_ack_o && wb_err_o));
      // Proven: a read gets an ack, a write an err.
      if (wb_ack_o)
        assert(!$past(wb_we_i));
      if (wb_err_o)
        assert($past(wb_we_i));
      // Proven: wb_dat_o is 0 without an ack.
      if (!wb_ack_o)
        assert(wb_dat_o == 32'h0);
      // Proven: an ack brings the word at the request's address.
      if (wb_ack_o && wb_cyc_i && wb_adr_i[31:2] == f_address)
        assert(wb_dat_o == f_word);
      // Proven: the ROM is read once for each read request, never for a
      // write, never in reset, and the ack follows that read.
      if (rom_sel && rom_rd)
        assert(wb_cyc_i && wb_stb_i && !wb_we_i && !f_read_done && !wb_rst_i);
      if (wb_ack_o)
        assert(f_read_done);
      // Proven: every request is answered by the third clock.
      assert(f_wait <= 2'd2);

      // The adapter's state agrees with the ROM's and the request's.
      assert(reading == f_rom_read);
      if (reading)
        assert(f_read_done && !wb_ack_o);
      if (reading && wb_cyc_i)
        assert(f_rom_ad == wb_adr_i[31:2]);
    end
`endif
endmodule

`default_nettype wire
