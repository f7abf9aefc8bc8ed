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
// Latency: the ROM reads at the edge that takes the address, and RVALID
// is high in the next clock with the ROM's word, so with RREADY high the
// master takes the word at the first edge after the one that takes the
// address: the least that a ROM with a clock of read latency allows.
//
// Throughput: one read per clock while RREADY is high: ARREADY then stays
// high.  When RREADY falls, up to two words wait in the adapter, in order,
// and ARREADY falls once one more address is taken; no word is lost, the
// ROM is read once for each read, and once RREADY rises again the words
// come one per clock, with no clock lost.
//
// Writes: the address and the data are taken together, at the second
// edge that sees both valid, and answered SLVERR at the next; they change
// nothing.  One write is answered at a time.
//
// Outputs: every READY, and BVALID, is a register; RVALID and RDATA
// are chosen by registers between the words that wait in the adapter's
// registers and the ROM's own output register, and RDATA is 0 while
// RVALID is low; RRESP and BRESP are constants.  No bus input reaches a
// bus output without a register.  rom_ad, rom_sel and rom_rd follow
// ARADDR and ARVALID within the clock, so that the module takes the
// address at the edge that takes it from the bus.  aresetn is
// synchronous: from the first edge that samples it low, the READYs are
// low, and no VALID is high, until the edge after it rises, so that a
// master that leaves reset first waits for the adapter.  Every register
// starts at 0, which is idle, so that a design without a reset works too;
// one clock edge in reset makes every output, and the ROM's mem_rdata,
// known.

`default_nettype none

module quelto_axi4lite_adapter (
  input  wire        aclk,
  input  wire        aresetn,

  input  wire [31:0] s_axi_awaddr,
  input  wire [2:0]  s_axi_awprot,
  input  wire        s_axi_awvalid,
  output reg         s_axi_awready = 1'b0,
  input  wire [31:0] s_axi_wdata,
  input  wire [3:0]  s_axi_wstrb,
  input  wire        s_axi_wvalid,
  output reg         s_axi_wready = 1'b0,
  output wire [1:0]  s_axi_bresp,
  output reg         s_axi_bvalid = 1'b0,
  input  wire        s_axi_bready,

  input  wire [31:0] s_axi_araddr,
  input  wire [2:0]  s_axi_arprot,
  input  wire        s_axi_arvalid,
  output reg         s_axi_arready = 1'b0,
  output wire [31:0] s_axi_rdata,
  output wire [1:0]  s_axi_rresp,
  output wire        s_axi_rvalid,
  input  wire        s_axi_rready,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  localparam [1:0] OKAY = 2'b00, SLVERR = 2'b10;

  // A read's word is on R from the clock after the ROM reads it: the
  // ROM's own (reading: on rom_rdata now, and for this clock only), or,
  // ahead of it, up to two words kept when R was stalled (held_count, in
  // held_first then held_second).  ARREADY is a register, so an address that
  // cannot go to the ROM at once waits in ar_held_addr (ar_held), and
  // ARREADY is low meanwhile.
  reg        reading = 1'b0;
  reg [1:0]  held_count = 2'd0;
  reg [31:0] held_first = 32'h0;
  reg [31:0] held_second = 32'h0;
  reg        ar_held = 1'b0;
  reg [31:0] ar_held_addr = 32'h0;
  wire        ar_taken = s_axi_arvalid && s_axi_arready;
  wire        ar_valid = ar_held || ar_taken;
  wire [31:0] ar_addr  = ar_held ? ar_held_addr : s_axi_araddr;

  assign s_axi_rvalid = held_count != 2'd0 || reading;
  assign s_axi_rdata  = held_count != 2'd0 ? held_first :
                        reading ? rom_rdata : 32'h0;
  wire r_taken = s_axi_rvalid && s_axi_rready;
  // Words kept after this edge: the ROM's is kept unless R takes it.
  wire [1:0] kept = held_count + {1'b0, reading} - {1'b0, r_taken};
  // A read goes to the ROM only if its word has a place at the next edge,
  // whatever RREADY does then.
  wire start = ar_valid && kept != 2'd2 && aresetn;
  // An address waits after this edge.
  wire hold = ar_valid && !start;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock.
  assign rom_ad  = ar_addr;
  assign rom_sel = start;
  assign rom_rd  = start;
  assign s_axi_rresp = OKAY;

  always @(posedge aclk) begin
    if (!aresetn) begin
      s_axi_arready <= 1'b0;
      ar_held       <= 1'b0;
      reading       <= 1'b0;
      held_count    <= 2'd0;
    end else begin
      s_axi_arready <= !hold;
      ar_held       <= hold;
      if (ar_taken)
        ar_held_addr <= s_axi_araddr;

      reading    <= start;
      held_count <= kept;
      // The words kept move up as R takes the first; the ROM's, unless R
      // takes it, goes behind those that stay.
      if (r_taken && held_count == 2'd2)
        held_first <= held_second;
      if (reading && !(r_taken && held_count == 2'd0)) begin
        if (kept == 2'd1)
          held_first <= rom_rdata;
        else
          held_second <= rom_rdata;
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
  wire [31:2] f_address;
  wire [31:0] f_word;
  wire        f_read;
  wire [31:2] f_read_ad;
  wire        f_past_valid;
  quelto_formal_rom rom (
    .clk(aclk), .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata), .f_address(f_address), .f_word(f_word),
    .f_read(f_read), .f_read_ad(f_read_ad), .f_past_valid(f_past_valid));

  // AXI4-Lite's transfers are AXI4 bursts of one word.
  wire [10:0]  f_reads, f_ahead;
  wire [1:0]   f_aws, f_ws;
  wire         f_tracking;
  wire [7:0]   f_done, f_len;
  wire [31:0]  f_start;
  wire [2:0]   f_size;
  wire [1:0]   f_type;
  wire         f_id;
  wire [127:0] f_next_beats;
  wire         f_aw_tracking, f_aw_id;
  quelto_formal_axi #(.ID_WIDTH(1)) bus (
    .aclk(aclk), .aresetn(aresetn),
    .s_axi_arid(1'b0), .s_axi_araddr(s_axi_araddr), .s_axi_arlen(8'd0),
    .s_axi_arsize(3'd2), .s_axi_arburst(2'b01), .s_axi_arprot(s_axi_arprot),
    .s_axi_arvalid(s_axi_arvalid), .s_axi_arready(s_axi_arready),
    .s_axi_rid(1'b0), .s_axi_rdata(s_axi_rdata), .s_axi_rresp(s_axi_rresp),
    .s_axi_rlast(1'b1), .s_axi_rvalid(s_axi_rvalid),
    .s_axi_rready(s_axi_rready),
    .s_axi_awid(1'b0), .s_axi_awaddr(s_axi_awaddr), .s_axi_awlen(8'd0),
    .s_axi_awsize(3'd2), .s_axi_awburst(2'b01), .s_axi_awprot(s_axi_awprot),
    .s_axi_awvalid(s_axi_awvalid), .s_axi_awready(s_axi_awready),
    .s_axi_wdata(s_axi_wdata), .s_axi_wstrb(s_axi_wstrb), .s_axi_wlast(1'b1),
    .s_axi_wvalid(s_axi_wvalid), .s_axi_wready(s_axi_wready),
    .s_axi_bid(1'b0), .s_axi_bresp(s_axi_bresp), .s_axi_bvalid(s_axi_bvalid),
    .s_axi_bready(s_axi_bready),
    .f_address(f_address), .f_word(f_word), .f_beats(f_reads),
    .f_aws(f_aws), .f_ws(f_ws), .f_tracking(f_tracking), .f_ahead(f_ahead),
    .f_done(f_done), .f_len(f_len), .f_start(f_start), .f_size(f_size),
    .f_type(f_type), .f_id(f_id), .f_next_beats(f_next_beats),
    .f_aw_tracking(f_aw_tracking), .f_aw_id(f_aw_id));

  // RREADY high at every edge since the adapter left reset.
  reg f_rready_high = 1'b1;
  always @(posedge aclk)
    f_rready_high <= !aresetn || f_rready_high && s_axi_rready;

  always @(posedge aclk) begin
    // Proven: the ROM is read once for each read taken, at the edge that
    // takes it or later, never in reset: so nothing is read before an
    // address comes.
    if (rom_sel || rom_rd)
      assert(aresetn && (ar_held || ar_taken));
    // Proven: R has a word in every clock in which a read is owed, so a
    // read's word is on R in the clock after the edge that takes it.
    assert(s_axi_rvalid == (f_reads != 11'd0));
    if (f_past_valid) begin
      // Proven: with RREADY held high, ARREADY is high in every clock
      // after an edge out of reset, and no word waits: one read per
      // clock.
      if (f_rready_high && $past(aresetn))
        assert(s_axi_arready && held_count == 2'd0);
      // Proven: a write is taken by the second clock that has both
      // VALIDs, and answered at once.
      if ($past(aresetn && s_axi_awvalid && s_axi_wvalid && !s_axi_bvalid &&
                !s_axi_awready) && aresetn)
        assert(s_axi_awready && s_axi_wready);
      if ($past(aresetn && s_axi_awready))
        assert(s_axi_bvalid);

      // The adapter's state agrees with the counts and the ROM's.
      assert(reading == f_read);
      assert(!(ar_held && s_axi_arready));
      assert(s_axi_awready == s_axi_wready);
      assert(!s_axi_awready || !s_axi_bvalid);
      assert(f_aws == {1'b0, s_axi_bvalid} && f_ws == {1'b0, s_axi_bvalid});
      assert(f_reads == held_count + reading + ar_held);
      assert(held_count != 2'd3 && !(held_count == 2'd2 && reading));
      if (ar_held)
        assert(held_count == 2'd2);
      if (f_tracking) begin
        assert(f_len == 8'd0 && f_done == 8'd0 && f_size == 3'd2 &&
               f_type == 2'b01 && f_id == 1'b0 &&
               f_next_beats[31:0] == f_start);
        if (f_ahead == 11'd0 && held_count != 2'd0)
          assert(f_start[31:2] != f_address || held_first == f_word);
        if (f_ahead == 11'd1 && held_count == 2'd2)
          assert(f_start[31:2] != f_address || held_second == f_word);
        if (f_ahead == held_count && reading)
          assert(f_read_ad == f_start[31:2]);
        if (f_ahead == held_count + reading && ar_held)
          assert(ar_held_addr == f_start);
      end
    end
  end
`endif
endmodule

`default_nettype wire
