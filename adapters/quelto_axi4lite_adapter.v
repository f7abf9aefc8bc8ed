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
// high.  When RREADY falls, one word waits in the adapter and the ROM
// holds the next, in order; the ROM has no word of its own over an edge
// without a read, so it reads that one again at each edge while both
// wait, and ARREADY is low meanwhile.  No word is lost, and once RREADY
// rises again the words come one per clock, with no clock lost.
//
// Writes: the address and the data are taken together, at the second
// edge that sees both valid, and answered SLVERR at the next; they change
// nothing.  One write is answered at a time.
//
// Outputs: every READY, and BVALID, is a register; RVALID is chosen by
// registers, and RDATA by a register between the word that waits in the
// adapter and the ROM's own output register, which is 0 after an edge
// without a read, so that RDATA is 0 while RVALID is low; RRESP and BRESP
// are constants.  No bus input reaches a bus output without a register.
// rom_ad, rom_sel and rom_rd follow ARADDR and ARVALID within the clock,
// so that the module takes the address at the edge that takes it from
// the bus.  aresetn is synchronous: from the first edge that samples it
// low, the READYs are low, and no VALID is high, until the edge after it
// rises, so that a master that leaves reset first waits for the adapter.
// The master keeps ARVALID low while aresetn is low, as AXI requires: the
// ROM then reads at no edge in reset (a master that does not has the
// word read and not answered, and RDATA may show it while RVALID is
// low).  Every register starts at 0, which is idle, so that a design
// without a reset works too, but reading_addr, which holds what the ROM's
// own address register holds, so that synthesis keeps one of the two,
// and is used only once a read has set it; one clock edge in reset makes
// every output, and the ROM's mem_rdata, known.
//
// Paths from a bus input to a bus output without a register: none.

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
  // ROM's own (reading: on rom_rdata now, and for this clock only, read
  // at reading_addr), or, ahead of it, one word kept when R was stalled
  // (skid_valid, in skid_word).  When both wait, the ROM reads its word
  // again at the next edge (again), and ARREADY is low.
  reg        reading = 1'b0;
  reg        skid_valid = 1'b0;
  reg [31:0] skid_word = 32'h0;
  reg        again = 1'b0;
  reg [31:0] reading_addr;

  // The ROM gives 0 after an edge without a read.
  assign s_axi_rvalid = skid_valid || reading;
  assign s_axi_rdata  = skid_valid ? skid_word : rom_rdata;
  assign s_axi_rresp  = OKAY;

  // With ARREADY high the ROM reads the address that the bus gives,
  // which then has a place at every edge after: the word on R, if any,
  // moves to skid_word unless R takes it, and the next edge reads again
  // if it must.  ARREADY is a register: high out of reset unless the
  // next edge reads again.
  assign rom_ad  = s_axi_arready ? s_axi_araddr : reading_addr;
  // A master keeps ARVALID low in reset, as AXI has it, so that only a
  // read again needs aresetn here, a LUT's input fewer on the way to the
  // ROM's address.
  assign rom_sel = s_axi_arready ? s_axi_arvalid : again && aresetn;
  assign rom_rd  = rom_sel;

  wire next_skid = skid_valid ? !s_axi_rready : reading && !s_axi_rready;
  always @(posedge aclk) begin
    if (!aresetn) begin
      s_axi_arready <= 1'b0;
      skid_valid    <= 1'b0;
      again         <= 1'b0;
    end else begin
      s_axi_arready <= !(next_skid && rom_sel);
      skid_valid    <= next_skid;
      again         <= next_skid && rom_sel;
    end
    reading <= rom_sel && aresetn;
    // What R shows is kept: the word on R, while it waits, is skid_word's.
    skid_word <= s_axi_rdata;
    if (rom_sel)
      reading_addr <= rom_ad;
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
  wire ar_taken = s_axi_arvalid && s_axi_arready;
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
    // Proven: the ROM is read only at the edge that takes a read, or
    // again for the word that it holds while an older one waits, never in
    // reset: so nothing is read before an address comes.
    if (rom_sel || rom_rd)
      assert(aresetn && (ar_taken || again));
    // Proven: R has a word in every clock in which a read is owed, so a
    // read's word is on R in the clock after the edge that takes it.
    assert(s_axi_rvalid == (f_reads != 11'd0));
    if (f_past_valid) begin
      // Proven: with RREADY held high, ARREADY is high in every clock
      // after an edge out of reset, and no word waits: one read per
      // clock.
      if (f_rready_high && $past(aresetn))
        assert(s_axi_arready && !skid_valid);
      // Proven: ARREADY is low after an edge out of reset only when the
      // next edge reads a word again.
      assert(s_axi_arready == ($past(aresetn) && !again));
      // Proven: a write is taken by the second clock that has both
      // VALIDs, and answered at once.
      if ($past(aresetn && s_axi_awvalid && s_axi_wvalid && !s_axi_bvalid &&
                !s_axi_awready) && aresetn)
        assert(s_axi_awready && s_axi_wready);
      if ($past(aresetn && s_axi_awready))
        assert(s_axi_bvalid);

      // The adapter's state agrees with the counts and the ROM's.
      assert(reading == f_read);
      if (reading)
        assert(f_read_ad == reading_addr[31:2]);
      assert(again == (skid_valid && reading));
      assert(s_axi_awready == s_axi_wready);
      assert(!s_axi_awready || !s_axi_bvalid);
      assert(f_aws == {1'b0, s_axi_bvalid} && f_ws == {1'b0, s_axi_bvalid});
      assert(f_reads == skid_valid + reading);
      if (f_tracking) begin
        assert(f_len == 8'd0 && f_done == 8'd0 && f_size == 3'd2 &&
               f_type == 2'b01 && f_id == 1'b0 &&
               f_next_beats[31:0] == f_start);
        if (f_ahead == 11'd0 && skid_valid)
          assert(f_start[31:2] != f_address || skid_word == f_word);
        if (f_ahead == {10'd0, skid_valid} && reading)
          assert(f_read_ad == f_start[31:2]);
      end
    end else
      assert(!reading && !skid_valid && !again && !s_axi_arready);
  end
`endif
endmodule

`default_nettype wire
