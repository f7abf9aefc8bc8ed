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
// When an edge completes a transfer whose CTI announces more, the adapter
// reads the burst's next word from the ROM at that edge (reading ahead),
// and acknowledges it in the next clock if the master then asks for it: a
// read at the address it was read for.  While wb_stb_i stays high, that
// is one word per clock, up to and including the end-of-burst transfer
// (CTI 111), after which nothing is acknowledged.  A master that asks for
// anything else in that clock, another address or a write, gets no
// answer in it, and its transfer is served as a new one, answered in the
// next clock: a ROM never answers with a word read for another address.
// An ack in a clock in which the master holds wb_stb_i low completes
// nothing, and the adapter then answers the next request as a first word
// again; so does it after the master drops wb_cyc_i.  Classic cycles (CTI
// 000, and the reserved values) are served as quelto_wishbone_adapter
// serves them.  A write gets wb_err_o in its second clock, and changes
// nothing.
//
// Throughput: a burst of N words in N + 1 clocks; classic reads one every
// two clocks.
//
// Outputs: wb_err_o is a register; wb_ack_o is a register, gated in the
// clock of a word read ahead by the comparison of wb_adr_i and wb_we_i
// with the read it was read for, the one path from bus inputs to an
// output without a register, and what keeps the wrong word from being
// acknowledged; wb_dat_o is the module's own output register gated by
// wb_ack_o, and 0 whenever wb_ack_o is low.  rom_ad, rom_sel and rom_rd
// follow the bus within the clock, so that the module takes the address
// at the request's own edge.  wb_rst_i is synchronous; every register
// starts at 0, which is idle, so that a design without a reset works
// too.

`default_nettype none

module quelto_wishbone_burst_adapter (
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
  localparam [2:0] CONSTANT = 3'b001, INCREMENTING = 3'b010;
  localparam [1:0] LINEAR = 2'b00, WRAP4 = 2'b01, WRAP8 = 2'b10;

  // The ROM read at the last edge (read), and whether for a word read
  // ahead (ahead), with the address it was read for.
  reg        read = 1'b0;
  reg        ahead = 1'b0;
  reg [31:2] ahead_ad = 30'd0;
  assign wb_ack_o = read && (!ahead || !wb_we_i && wb_adr_i[31:2] == ahead_ad);

  wire cycle = wb_cyc_i && wb_stb_i && !wb_rst_i;
  // A request that has had no answer yet, and a read that this edge
  // completes with more of its burst to come.
  wire request = cycle && !wb_ack_o && !wb_err_o;
  wire more    = cycle && wb_ack_o && !wb_we_i &&
                 (wb_cti_i == CONSTANT || wb_cti_i == INCREMENTING);

  // The burst's next address: the word after wb_adr_i, within its aligned
  // block of 4, 8 or 16 words when the burst wraps.
  reg [31:2] next;
  always @(*)
    if (wb_cti_i == CONSTANT)
      next = wb_adr_i[31:2];
    else
      case (wb_bte_i)
        LINEAR:  next = wb_adr_i[31:2] + 30'd1;
        WRAP4:   next = {wb_adr_i[31:4], wb_adr_i[3:2] + 2'd1};
        WRAP8:   next = {wb_adr_i[31:5], wb_adr_i[4:2] + 3'd1};
        default: next = {wb_adr_i[31:6], wb_adr_i[5:2] + 4'd1};
      endcase

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock, and its word is there in the next.
  assign rom_ad   = more ? {next, wb_adr_i[1:0]} : wb_adr_i;
  assign rom_sel  = request && !wb_we_i || more;
  assign rom_rd   = rom_sel;
  assign wb_dat_o = wb_ack_o ? rom_rdata : 32'h0;

  always @(posedge wb_clk_i) begin
    read     <= rom_sel;
    ahead    <= more;
    ahead_ad <= next;
    wb_err_o <= request && wb_we_i;
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

  quelto_formal_wishbone #(.PIPELINED(0), .BURST(1), .ACK_WRITES(0)) bus (
    .clk(wb_clk_i), .rst(wb_rst_i), .cyc(wb_cyc_i), .stb(wb_stb_i),
    .we(wb_we_i), .adr(wb_adr_i), .sel(wb_sel_i), .dat_w(wb_dat_i),
    .cti(wb_cti_i), .bte(wb_bte_i), .stall(1'b0),
    .ack(wb_ack_o), .err(wb_err_o), .dat_r(wb_dat_o),
    .f_address(f_address), .f_word(f_word), .f_outstanding());

  always @(posedge wb_clk_i) begin
    // Proven: the ROM is read only at an edge with a read request, or
    // with a read that completes with more of its burst to come; never
    // in reset.
    if (rom_sel || rom_rd)
      assert(wb_cyc_i && wb_stb_i && !wb_we_i && !wb_rst_i &&
             (!wb_ack_o || wb_cti_i == CONSTANT || wb_cti_i == INCREMENTING));
    if (f_past_valid) begin
      // Proven: every request is answered in its second clock, and every
      // transfer of a burst after the first, at the burst's next address,
      // in the clock after the one before: N words in N + 1 clocks.
      if ($past(request))
        assert(wb_ack_o || wb_err_o);
      if ($past(more) && wb_cyc_i && wb_stb_i && !wb_we_i &&
          wb_adr_i[31:2] == $past(next))
        assert(wb_ack_o);
      // The adapter's state agrees with the ROM's.
      assert(read == f_read);
      if (ahead)
        assert(read && f_read_ad == ahead_ad);
    end
  end
`endif
endmodule

`default_nettype wire
