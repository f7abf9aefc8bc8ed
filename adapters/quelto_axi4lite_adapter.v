// SPDX-License-Identifier: ISC
// quelto_axi4lite_adapter: an AXI4-Lite slave in front of a ROM module
// that quelto wrote.
//
// Connects an AXI4-Lite master (s_axi_*) to the module's bus (rom_*):
// wire rom_ad, rom_sel and rom_rd to the module's mem_ad, mem_sel and
// mem_rd, and its mem_rdata to rom_rdata.  The adapter decodes no
// address: the interconnect sends it only the ROM's range.  Addresses are
// byte addresses; reads return whole words, always with OKAY.  ARPROT and
// AWPROT are ignored.
//
// Latency: RVALID rises at the edge after the one that takes the address,
// so with RREADY high the master takes the word at the second edge after
// it.
//
// Throughput: one read per clock while RREADY is high: ARREADY then stays
// high.  When RREADY falls, up to two words wait in the adapter, in order,
// and ARREADY falls once one more address is taken; no word is lost, and
// the ROM is read once for each read.
//
// Writes: the address and the data are taken together, at the second
// edge that sees both valid, and answered SLVERR at the next; they change
// nothing.  One write is answered at a time.
//
// RDATA is 0 whenever RVALID is low.  No output depends on an input
// without a register between them.  aresetn is synchronous: one clock edge
// in reset makes every output, and the ROM's mem_rdata, known.

`default_nettype none

module quelto_axi4lite_adapter (
  input  wire        aclk,
  input  wire        aresetn,

  input  wire [31:0] s_axi_awaddr,
  input  wire [2:0]  s_axi_awprot,
  input  wire        s_axi_awvalid,
  output reg         s_axi_awready,
  input  wire [31:0] s_axi_wdata,
  input  wire [3:0]  s_axi_wstrb,
  input  wire        s_axi_wvalid,
  output reg         s_axi_wready,
  output wire [1:0]  s_axi_bresp,
  output reg         s_axi_bvalid,
  input  wire        s_axi_bready,

  input  wire [31:0] s_axi_araddr,
  input  wire [2:0]  s_axi_arprot,
  input  wire        s_axi_arvalid,
  output reg         s_axi_arready,
  output reg  [31:0] s_axi_rdata,
  output wire [1:0]  s_axi_rresp,
  output reg         s_axi_rvalid,
  input  wire        s_axi_rready,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  localparam [1:0] OKAY = 2'b00, SLVERR = 2'b10;

  // Reads pass three places, in order: the ROM (reading: its word is on
  // rom_rdata now, and for this clock only), a word held while R is
  // stalled, and the R channel's register.  ARREADY is a register, so an
  // address that cannot go to the ROM at once waits in ar_held_addr; that
  // is when ARREADY is low.
  reg        reading;
  reg        word_held;
  reg [31:0] held_word;
  reg [31:0] ar_held_addr;
  wire        ar_valid = !s_axi_arready || s_axi_arvalid;
  wire [31:0] ar_addr  = s_axi_arready ? s_axi_araddr : ar_held_addr;

  // The R register takes a word at this edge.
  wire r_free = !s_axi_rvalid || s_axi_rready;
  // A read goes to the ROM only if its word has a place at the next edge,
  // whatever RREADY does then: the held word's place must then be free.
  wire room = r_free || !word_held && !reading;
  wire start = ar_valid && room && aresetn;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock.
  assign rom_ad  = ar_addr;
  assign rom_sel = start;
  assign rom_rd  = start;
  assign s_axi_rresp = OKAY;

  always @(posedge aclk) begin
    if (!aresetn) begin
      s_axi_arready <= 1'b1;
      reading       <= 1'b0;
      word_held     <= 1'b0;
      s_axi_rvalid  <= 1'b0;
      s_axi_rdata   <= 32'h0;
    end else begin
      if (start)
        s_axi_arready <= 1'b1;
      else if (s_axi_arvalid && s_axi_arready) begin
        s_axi_arready <= 1'b0;
        ar_held_addr  <= s_axi_araddr;
      end

      reading <= start;
      if (r_free) begin
        // The oldest word moves to R: the held one, else the ROM's (the
        // ROM has none while a word is held, as room sees to).
        s_axi_rvalid <= word_held || reading;
        s_axi_rdata  <= word_held ? held_word : reading ? rom_rdata : 32'h0;
        word_held    <= 1'b0;
      end else if (reading) begin
        word_held <= 1'b1;
        held_word <= rom_rdata;
      end
    end
  end

  // Writes: both ready for one clock, once address and data are both
  // valid and no answer is waiting; the answer follows at once.
  assign s_axi_bresp = SLVERR;
  always @(posedge aclk) begin
    if (!aresetn) begin
      s_axi_awready <= 1'b0;
      s_axi_wready  <= 1'b0;
      s_axi_bvalid  <= 1'b0;
    end else begin
      s_axi_awready <= !s_axi_awready && s_axi_awvalid && s_axi_wvalid &&
                       !s_axi_bvalid;
      s_axi_wready  <= !s_axi_awready && s_axi_awvalid && s_axi_wvalid &&
                       !s_axi_bvalid;
      if (s_axi_awready)
        s_axi_bvalid <= 1'b1;
      else if (s_axi_bready)
        s_axi_bvalid <= 1'b0;
    end
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, s_axi_awaddr, s_axi_awprot, s_axi_wdata, s_axi_wstrb,
                  s_axi_arprot};

`ifdef FORMAL
  reg f_past_valid = 1'b0;
  always @(posedge aclk)
    f_past_valid <= 1'b1;

  wire f_ar = s_axi_arvalid && s_axi_arready;
  wire f_r  = s_axi_rvalid && s_axi_rready;
  wire f_aw = s_axi_awvalid && s_axi_awready;
  wire f_w  = s_axi_wvalid && s_axi_wready;
  wire f_b  = s_axi_bvalid && s_axi_bready;

  // The master starts in reset, raises no VALID in reset nor in the clock
  // after it, and holds each VALID, and what it carries, until READY.
  always @(*)
    if (!f_past_valid)
      assume(!aresetn);
  always @(posedge aclk)
    if (!f_past_valid || !aresetn || $past(!aresetn))
      assume(!s_axi_arvalid && !s_axi_awvalid && !s_axi_wvalid);
  always @(posedge aclk)
    if (f_past_valid && $past(aresetn) && aresetn) begin
      if ($past(s_axi_arvalid && !s_axi_arready))
        assume(s_axi_arvalid && s_axi_araddr == $past(s_axi_araddr) &&
               s_axi_arprot == $past(s_axi_arprot));
      if ($past(s_axi_awvalid && !s_axi_awready))
        assume(s_axi_awvalid && s_axi_awaddr == $past(s_axi_awaddr) &&
               s_axi_awprot == $past(s_axi_awprot));
      if ($past(s_axi_wvalid && !s_axi_wready))
        assume(s_axi_wvalid && s_axi_wdata == $past(s_axi_wdata) &&
               s_axi_wstrb == $past(s_axi_wstrb));
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
  always @(posedge aclk) begin
    f_rom_read <= rom_sel && rom_rd;
    if (rom_sel && rom_rd)
      f_rom_ad <= rom_ad[31:2];
  end
  always @(*)
    if (f_past_valid && !f_rom_read)
      assume(rom_rdata == 32'h0);
    else if (f_past_valid && f_rom_ad == f_address)
      assume(rom_rdata == f_word);

  // Counts: reads taken and not answered, reads taken and not yet sent to
  // the ROM, writes taken (address, data) and not answered.
  reg [2:0] f_reads, f_unsent;
  reg [1:0] f_aws, f_ws;
  always @(posedge aclk)
    if (!aresetn) begin
      f_reads  <= 3'd0;
      f_unsent <= 3'd0;
      f_aws    <= 2'd0;
      f_ws     <= 2'd0;
    end else begin
      f_reads  <= f_reads + f_ar - f_r;
      f_unsent <= f_unsent + f_ar - (rom_sel && rom_rd);
      f_aws    <= f_aws + f_aw - f_b;
      f_ws     <= f_ws + f_w - f_b;
    end

  // One read that the solver picks, at f_address, and the number of
  // answers that come before its own.
  (* anyseq *) reg f_pick;
  reg       f_tracking;
  reg [2:0] f_ahead;
  always @(posedge aclk)
    if (!aresetn)
      f_tracking <= 1'b0;
    else if (!f_tracking && f_pick && f_ar &&
             s_axi_araddr[31:2] == f_address) begin
      f_tracking <= 1'b1;
      f_ahead    <= f_reads - f_r;
    end else if (f_tracking && f_r) begin
      if (f_ahead == 3'd0)
        f_tracking <= 1'b0;
      f_ahead <= f_ahead - 3'd1;
    end

  // RREADY high at every edge since reset; and clocks that a taken read
  // has waited for RVALID.
  reg       f_rready_high;
  reg [1:0] f_r_wait;
  always @(posedge aclk)
    if (!aresetn) begin
      f_rready_high <= 1'b1;
      f_r_wait      <= 2'd0;
    end else begin
      f_rready_high <= f_rready_high && s_axi_rready;
      f_r_wait      <= f_reads != 3'd0 && !s_axi_rvalid ? f_r_wait + 2'd1 : 2'd0;
    end

  always @(posedge aclk)
    if (f_past_valid) begin
      // Proven: no VALID in the clock after reset; every VALID held, with
      // what it carries, until READY.
      if ($past(!aresetn))
        assert(!s_axi_rvalid && !s_axi_bvalid);
      if ($past(aresetn && s_axi_rvalid && !s_axi_rready) && aresetn)
        assert(s_axi_rvalid && s_axi_rdata == $past(s_axi_rdata));
      if ($past(aresetn && s_axi_bvalid && !s_axi_bready) && aresetn)
        assert(s_axi_bvalid);
      // Proven: one answer per request, none unrequested: reads with
      // OKAY, writes with SLVERR once both address and data are taken.
      if (s_axi_rvalid)
        assert(f_reads != 3'd0 && s_axi_rresp == OKAY);
      if (s_axi_bvalid)
        assert(f_aws != 2'd0 && f_ws != 2'd0 && s_axi_bresp == SLVERR);
      // Proven: RDATA is 0 whenever RVALID is low.
      if (!s_axi_rvalid)
        assert(s_axi_rdata == 32'h0);
      // Proven: every read is answered with the word at its address, in
      // order: none lost, none repeated.
      if (f_tracking && f_ahead == 3'd0 && s_axi_rvalid)
        assert(s_axi_rdata == f_word);
      // Proven: the ROM is read once for each read taken, after it is
      // taken, never in reset.
      assert(f_unsent == {2'b00, !s_axi_arready});
      if (rom_sel && rom_rd)
        assert(aresetn);
      // Proven: with RREADY held high, ARREADY stays high: one read per
      // clock.
      if (f_rready_high)
        assert(s_axi_arready);
      // Proven: a read's data comes by its third clock when R is free;
      // a write is taken by the second clock that has both VALIDs, and
      // answered at once.
      assert(f_r_wait <= 2'd2);
      if ($past(aresetn && s_axi_awvalid && s_axi_wvalid && !s_axi_bvalid &&
                !s_axi_awready) && aresetn)
        assert(s_axi_awready && s_axi_wready);
      if ($past(aresetn && s_axi_awready))
        assert(s_axi_bvalid);

      // The adapter's state agrees with the counts and the ROM's.
      assert(reading == f_rom_read);
      assert(s_axi_awready == s_axi_wready);
      assert(!s_axi_awready || !s_axi_bvalid);
      assert(f_aws == {1'b0, s_axi_bvalid} && f_ws == {1'b0, s_axi_bvalid});
      assert(f_reads == s_axi_rvalid + word_held + reading + !s_axi_arready);
      if (word_held)
        assert(s_axi_rvalid && !reading);
      if (f_tracking) begin
        assert(f_ahead < f_reads);
        if (f_ahead == s_axi_rvalid && word_held)
          assert(held_word == f_word);
        if (f_ahead == s_axi_rvalid + word_held && reading)
          assert(f_rom_ad == f_address);
        if (f_ahead == s_axi_rvalid + word_held + reading && !s_axi_arready)
          assert(ar_held_addr[31:2] == f_address);
      end
    end
`endif
endmodule

`default_nettype wire
