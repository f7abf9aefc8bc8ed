// SPDX-License-Identifier: ISC
// quelto_axi4_adapter: an AXI4 slave with bursts in front of a ROM module
// that quelto wrote.
//
// Connects an AXI4 master (s_axi_*) on a 32-bit bus to the module's bus
// (rom_*): wire rom_ad, rom_sel and rom_rd to the module's mem_ad,
// mem_sel and mem_rd, and its mem_rdata to rom_rdata.  The adapter
// decodes no address: the interconnect sends it only the ROM's range.
//
// Reads: every burst that AXI4 allows on a 32-bit bus: INCR of 1 to 256
// beats, WRAP of 2, 4, 8 or 16, FIXED of 1 to 16; narrow transfers
// (ARSIZE 0, 1 or 2), whose beats step by their size; an INCR burst may
// start unaligned.  Each beat carries the whole word that holds its
// address (the master takes its byte lanes), with OKAY and RID the
// burst's ARID, and RLAST on its last beat.  ARLOCK, ARCACHE, ARPROT and
// ARQOS are ignored.  Answers come in the order of the addresses,
// whatever their IDs.
//
// Latency: the ROM reads a burst's first beat at the edge that takes its
// address, and RVALID is high in the next clock with the ROM's word
// (behind the beats before, if any wait), so with RREADY high the master
// takes the first beat at the first edge after the one that takes the
// address: the least that a ROM with a clock of read latency allows.
//
// Throughput: one beat per clock while RREADY is high, within a burst and
// from one burst to the next: ARREADY is high from the edge that reads a
// burst's last beat, so that the next burst's address is taken, and its
// first beat read, at the edge after.  How a burst's address steps from
// beat to beat is worked out once, when the address is taken.  When
// RREADY falls, one beat waits in the adapter and the ROM holds the next,
// in order; the ROM has no word of its own over an edge without a read,
// so it reads that beat again at each edge while both wait, and ARREADY
// is low meanwhile.  No beat is lost, and once RREADY rises again the
// beats come one per clock, with no clock lost.
//
// Writes change nothing: the adapter takes the address and every W beat
// up to WLAST, in either order and any number of clocks apart, and then
// answers SLVERR on B with the burst's AWID.  One write burst is taken at
// a time; the write channels never wait on the read channels.
//
// Outputs: every READY, and BVALID and BID, is a register; RVALID, RID
// and RLAST are chosen by registers; RDATA by a register between the beat
// that waits in the adapter and the ROM's own output register, which is
// 0 after an edge without a read, so that RDATA, RID and RLAST are 0
// while RVALID is low; RRESP and BRESP are constants.  No bus input
// reaches a bus output without a register.  rom_ad, rom_sel and rom_rd
// follow ARADDR and ARVALID within the clock, so that the module takes a
// first beat's address at the edge that takes it from the bus.  aresetn
// is synchronous: from the first edge that samples it low, the READYs are
// low, and no VALID is high, until the edge after it rises, so that a
// master that leaves reset first waits for the adapter.  Every register
// starts at 0, which is idle, so that a design without a reset works
// too.
//
// Paths from a bus input to a bus output without a register: none.

`default_nettype none

module quelto_axi4_adapter #(
  parameter ID_WIDTH = 4
) (
  input  wire                aclk,
  input  wire                aresetn,

  input  wire [ID_WIDTH-1:0] s_axi_arid,
  input  wire [31:0]         s_axi_araddr,
  input  wire [7:0]          s_axi_arlen,
  input  wire [2:0]          s_axi_arsize,
  input  wire [1:0]          s_axi_arburst,
  input  wire                s_axi_arlock,
  input  wire [3:0]          s_axi_arcache,
  input  wire [2:0]          s_axi_arprot,
  input  wire [3:0]          s_axi_arqos,
  input  wire                s_axi_arvalid,
  output reg                 s_axi_arready = 1'b0,

  output wire [ID_WIDTH-1:0] s_axi_rid,
  output wire [31:0]         s_axi_rdata,
  output wire [1:0]          s_axi_rresp,
  output wire                s_axi_rlast,
  output wire                s_axi_rvalid,
  input  wire                s_axi_rready,

  input  wire [ID_WIDTH-1:0] s_axi_awid,
  input  wire [31:0]         s_axi_awaddr,
  input  wire [7:0]          s_axi_awlen,
  input  wire [2:0]          s_axi_awsize,
  input  wire [1:0]          s_axi_awburst,
  input  wire                s_axi_awlock,
  input  wire [3:0]          s_axi_awcache,
  input  wire [2:0]          s_axi_awprot,
  input  wire [3:0]          s_axi_awqos,
  input  wire                s_axi_awvalid,
  output reg                 s_axi_awready = 1'b0,

  input  wire [31:0]         s_axi_wdata,
  input  wire [3:0]          s_axi_wstrb,
  input  wire                s_axi_wlast,
  input  wire                s_axi_wvalid,
  output reg                 s_axi_wready = 1'b0,

  output reg  [ID_WIDTH-1:0] s_axi_bid = {ID_WIDTH{1'b0}},
  output wire [1:0]          s_axi_bresp,
  output reg                 s_axi_bvalid = 1'b0,
  input  wire                s_axi_bready,

  output wire [31:0]         rom_ad,
  output wire                rom_sel,
  output wire                rom_rd,
  input  wire [31:0]         rom_rdata
);
  localparam [1:0] FIXED = 2'b00, INCR = 2'b01, WRAP = 2'b10;
  localparam [1:0] OKAY = 2'b00, SLVERR = 2'b10;

  // A beat is on R from the clock after the ROM reads it: the ROM's own
  // (reading: its word on rom_rdata now, and for this clock only, with
  // reading_id and reading_last), or, ahead of it, one beat kept when R
  // was stalled (skid_*).  When both wait, the ROM reads its beat again
  // at the next edge (again: it holds no word of its own over an edge
  // without a read).
  reg                reading = 1'b0;
  reg                reading_last = 1'b0;
  reg [ID_WIDTH-1:0] reading_id = {ID_WIDTH{1'b0}};
  reg                skid_valid = 1'b0;
  reg [31:0]         skid_word = 32'h0;
  reg                skid_last = 1'b0;
  reg [ID_WIDTH-1:0] skid_id = {ID_WIDTH{1'b0}};
  reg                again = 1'b0;

  // The ROM gives 0 after an edge without a read.
  assign s_axi_rvalid = skid_valid || reading;
  assign s_axi_rdata  = skid_valid ? skid_word : rom_rdata;
  assign s_axi_rid    = skid_valid ? skid_id : reading_id;
  assign s_axi_rlast  = skid_valid ? skid_last : reading_last;
  assign s_axi_rresp  = OKAY;

  // The burst under way: its beats not yet read (left), its ID, and how
  // its address steps from beat to beat, worked out when the address is
  // taken: by its size (burst_bytes), in the low bits that change
  // (burst_mask: none for FIXED; for WRAP those within its block of
  // (ARLEN + 1) << ARSIZE bytes) and, for INCR, in bits 11:6 too
  // (burst_incr).  A burst stays within its 4 KB page, so only the low 12
  // bits of its address change.
  reg [7:0]          left = 8'd0;
  reg [ID_WIDTH-1:0] burst_id = {ID_WIDTH{1'b0}};
  reg [2:0]          burst_bytes = 3'd0;
  reg [5:0]          burst_mask = 6'd0;
  reg                burst_incr = 1'b0;
  // What the ROM reads at the next edge unless ARREADY is high: the
  // burst's next beat, or the beat again (next_valid, at next_addr).
  reg                next_valid = 1'b0;
  reg [31:0]         next_addr = 32'h0;

  // With ARREADY high the ROM reads a burst's first beat at the edge
  // that takes its address; ARREADY is a register, high out of reset
  // whenever the next edge reads nothing else.
  wire ar_taken = s_axi_arvalid && s_axi_arready;
  assign rom_ad  = s_axi_arready ? s_axi_araddr : next_addr;
  assign rom_sel = aresetn && (s_axi_arready ? s_axi_arvalid : next_valid);
  assign rom_rd  = rom_sel;

  // How the burst taken at this edge steps.
  wire       ar_incr  = s_axi_arburst == INCR;
  wire [2:0] ar_bytes = 3'd1 << s_axi_arsize[1:0];
  wire [5:0] ar_mask  = ar_incr ? 6'h3f : s_axi_arburst != WRAP ? 6'h00 :
                        {s_axi_arlen[3:0], 2'b11} >> (2'd2 - s_axi_arsize[1:0]);
  // The next beat's address after the one read at this edge: the next
  // multiple of the size, in the bits that change.  Only a first beat
  // may be unaligned (INCR); the others step from its aligned address.
  wire [2:0]  bytes   = s_axi_arready ? ar_bytes : burst_bytes;
  wire [11:0] mask    = s_axi_arready ? {{6{ar_incr}}, ar_mask} :
                                        {{6{burst_incr}}, burst_mask};
  wire [1:0]  below   = s_axi_arready && s_axi_arburst != FIXED ?
                        ar_bytes[1:0] - 2'd1 : 2'd0;
  wire [11:0] stepped = rom_ad[11:0] + {9'd0, bytes} & ~{10'd0, below};
  wire [31:0] aligned = rom_ad & ~{30'd0, below};
  wire [31:0] after   = {rom_ad[31:12], stepped & mask | rom_ad[11:0] & ~mask};

  wire next_skid = skid_valid ? !s_axi_rready : reading && !s_axi_rready;
  wire next_again = next_skid && rom_sel;
  // Beats of the burst still to read after this edge, and whether there
  // are any, from left itself, not from its difference.
  wire       stepping  = rom_sel && !again && !s_axi_arready;
  wire [7:0] next_left = ar_taken ? s_axi_arlen : stepping ? left - 8'd1 : left;
  wire       next_on   = ar_taken ? s_axi_arlen != 8'd0 :
                         stepping ? |left[7:1] : |left;

  always @(posedge aclk) begin
    if (!aresetn) begin
      s_axi_arready <= 1'b0;
      skid_valid    <= 1'b0;
      again         <= 1'b0;
      next_valid    <= 1'b0;
      left          <= 8'd0;
    end else begin
      s_axi_arready <= !next_again && !next_on;
      skid_valid    <= next_skid;
      again         <= next_again;
      next_valid    <= next_again || next_on;
      left          <= next_left;
    end
    if (ar_taken) begin
      burst_id    <= s_axi_arid;
      burst_bytes <= ar_bytes;
      burst_mask  <= ar_mask;
      burst_incr  <= ar_incr;
    end
    if (rom_sel)
      next_addr <= next_again ? aligned : after;
    reading <= rom_sel;
    if (rom_sel && !again) begin
      reading_id   <= ar_taken ? s_axi_arid : burst_id;
      reading_last <= !next_on;
    end else if (!rom_sel) begin
      reading_id   <= {ID_WIDTH{1'b0}};
      reading_last <= 1'b0;
    end
    // What R shows is kept: the beat on R, while it waits, is skid_*'s.
    skid_word <= s_axi_rdata;
    skid_id   <= s_axi_rid;
    skid_last <= s_axi_rlast;
  end

  // Writes: one burst at a time.  Its address (aw_held; BID takes its ID)
  // and its beats up to WLAST (w_done) are taken in either order; B
  // follows once both are, and both READYs stay low until B is taken.
  reg                aw_held = 1'b0;
  reg                w_done = 1'b0;
  wire aw_taken  = s_axi_awvalid && s_axi_awready;
  wire b_taken   = s_axi_bvalid && s_axi_bready;
  wire aw_next   = !b_taken && (aw_held || aw_taken);
  wire w_next    = !b_taken &&
                   (w_done || s_axi_wvalid && s_axi_wready && s_axi_wlast);

  assign s_axi_bresp = SLVERR;
  always @(posedge aclk)
    if (!aresetn) begin
      aw_held       <= 1'b0;
      w_done        <= 1'b0;
      s_axi_awready <= 1'b0;
      s_axi_wready  <= 1'b0;
      s_axi_bvalid  <= 1'b0;
    end else begin
      aw_held       <= aw_next;
      w_done        <= w_next;
      s_axi_awready <= !aw_next;
      s_axi_wready  <= !w_next;
      s_axi_bvalid  <= aw_next && w_next;
      if (aw_taken)
        s_axi_bid <= s_axi_awid;
    end

  // What a ROM has no use for.
  wire unused = &{1'b0, s_axi_arsize[2], s_axi_arlock, s_axi_arcache,
                  s_axi_arprot, s_axi_arqos, s_axi_awaddr, s_axi_awlen,
                  s_axi_awsize, s_axi_awburst, s_axi_awlock, s_axi_awcache,
                  s_axi_awprot, s_axi_awqos, s_axi_wdata, s_axi_wstrb};

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

  wire [10:0]         f_beats, f_ahead;
  wire [1:0]          f_aws, f_ws;
  wire                f_tracking;
  wire [7:0]          f_done, f_len;
  wire [31:0]         f_start;
  wire [2:0]          f_size;
  wire [1:0]          f_type;
  wire [ID_WIDTH-1:0] f_id;
  wire [127:0]        f_next_beats;
  wire                f_aw_tracking;
  wire [ID_WIDTH-1:0] f_aw_id;
  quelto_formal_axi #(.ID_WIDTH(ID_WIDTH)) bus (
    .aclk(aclk), .aresetn(aresetn),
    .s_axi_arid(s_axi_arid), .s_axi_araddr(s_axi_araddr),
    .s_axi_arlen(s_axi_arlen), .s_axi_arsize(s_axi_arsize),
    .s_axi_arburst(s_axi_arburst), .s_axi_arprot(s_axi_arprot),
    .s_axi_arvalid(s_axi_arvalid), .s_axi_arready(s_axi_arready),
    .s_axi_rid(s_axi_rid), .s_axi_rdata(s_axi_rdata),
    .s_axi_rresp(s_axi_rresp), .s_axi_rlast(s_axi_rlast),
    .s_axi_rvalid(s_axi_rvalid), .s_axi_rready(s_axi_rready),
    .s_axi_awid(s_axi_awid), .s_axi_awaddr(s_axi_awaddr),
    .s_axi_awlen(s_axi_awlen), .s_axi_awsize(s_axi_awsize),
    .s_axi_awburst(s_axi_awburst), .s_axi_awprot(s_axi_awprot),
    .s_axi_awvalid(s_axi_awvalid), .s_axi_awready(s_axi_awready),
    .s_axi_wdata(s_axi_wdata), .s_axi_wstrb(s_axi_wstrb),
    .s_axi_wlast(s_axi_wlast), .s_axi_wvalid(s_axi_wvalid),
    .s_axi_wready(s_axi_wready),
    .s_axi_bid(s_axi_bid), .s_axi_bresp(s_axi_bresp),
    .s_axi_bvalid(s_axi_bvalid), .s_axi_bready(s_axi_bready),
    .f_address(f_address), .f_word(f_word), .f_beats(f_beats),
    .f_aws(f_aws), .f_ws(f_ws), .f_tracking(f_tracking), .f_ahead(f_ahead),
    .f_done(f_done), .f_len(f_len), .f_start(f_start), .f_size(f_size),
    .f_type(f_type), .f_id(f_id), .f_next_beats(f_next_beats),
    .f_aw_tracking(f_aw_tracking), .f_aw_id(f_aw_id));

  // RREADY high at every edge since the adapter left reset.
  reg f_rready_high = 1'b1;
  always @(posedge aclk)
    f_rready_high <= !aresetn || f_rready_high && s_axi_rready;

  // Where each beat owed is: the beat kept, the ROM's, and the beats of
  // the burst under way not yet read; the first position of each, from
  // the front.
  wire [10:0] f_at_rom  = {10'd0, skid_valid};
  wire [10:0] f_at_next = f_at_rom + {10'd0, reading};
  wire        burst_on  = left != 8'd0;
  // The picked burst has the beat at position p, its beat number
  // f_done + p - f_ahead.
  function f_covers(input [10:0] p);
    f_covers = f_tracking && f_ahead <= p &&
               p - f_ahead <= {3'd0, f_len - f_done};
  endfunction
  function [7:0] f_beat_at(input [10:0] p);
    f_beat_at = f_done + p[7:0] - f_ahead[7:0];
  endfunction
  function f_last_at(input [10:0] p);
    f_last_at = f_done + p[7:0] - f_ahead[7:0] == f_len;
  endfunction
  function [31:0] f_address_at(input [10:0] p);
    reg [1:0] k;
    begin
      // Within the first four beats: the stages before the burst's.
      k = p[1:0] - f_ahead[1:0];
      f_address_at = k == 2'd0 ? f_next_beats[31:0] :
                     k == 2'd1 ? f_next_beats[63:32] :
                     k == 2'd2 ? f_next_beats[95:64] : f_next_beats[127:96];
    end
  endfunction
  // The address from which the next beat steps: the first beat's
  // aligned to the size, unless FIXED.
  function [31:0] f_step_from(input [10:0] p);
    reg [1:0] k;
    begin
      k = p[1:0] - f_ahead[1:0];
      f_step_from = f_done + p[7:0] - f_ahead[7:0] == 8'd0 && f_type != FIXED ?
        f_start & ~((32'd1 << f_size) - 32'd1) :
        k == 2'd0 ? f_next_beats[31:0] :
        k == 2'd1 ? f_next_beats[63:32] :
        k == 2'd2 ? f_next_beats[95:64] : f_next_beats[127:96];
    end
  endfunction

  always @(posedge aclk) begin
    // Proven: the ROM is read only for a beat of a burst taken, at the
    // edge that takes its address or later, or again for the beat that
    // it holds while an older one waits; never in reset: so nothing is
    // read before an address comes.
    if (rom_sel || rom_rd)
      assert(aresetn && (ar_taken || burst_on || again));
    // Proven: ARREADY is low after an edge out of reset only while the
    // next edge reads a beat of the burst under way, or a beat again; R
    // has a beat in every clock in which beats are owed, so one beat per
    // clock, within bursts and from one to the next, whatever RREADY did
    // before, and a burst's first beat in the clock after the edge that
    // takes its address; and with RREADY held high, no beat waits.
    if (f_past_valid && $past(aresetn))
      assert(s_axi_arready == !next_valid);
    assert(s_axi_rvalid == (f_beats != 11'd0));
    if (f_rready_high)
      assert(!skid_valid && !again);
    // Proven: RID and RLAST are 0 whenever RVALID is low.
    if (!s_axi_rvalid)
      assert(s_axi_rid == {ID_WIDTH{1'b0}} && !s_axi_rlast);

    // The adapter's state agrees with the counts and the ROM's.
    if (f_past_valid)
      assert(reading == f_read);
    else
      assert(!reading && !skid_valid && !burst_on && !again && !next_valid &&
             !s_axi_arready);
    assert(next_valid == (burst_on || again));
    assert(!(next_valid && s_axi_arready));
    assert(again == (skid_valid && reading));
    assert(f_beats == f_at_next + {3'd0, left});
    if (!reading)
      assert(reading_id == {ID_WIDTH{1'b0}} && !reading_last);
    if (again)
      assert(f_read_ad == next_addr[31:2]);
    assert(f_aws == {1'b0, aw_held} && f_ws == {1'b0, w_done});
    assert(s_axi_bvalid == (aw_held && w_done));
    if (f_aw_tracking)
      assert(aw_held && s_axi_bid == f_aw_id);
    assert(!(aw_held && s_axi_awready) && !(w_done && s_axi_wready));
    if (f_tracking) begin
      // The picked burst's first beat went to the ROM at the edge that
      // took its address.
      assert(f_ahead <= f_at_rom && (f_ahead == 11'd0 || f_done == 8'd0));
      if (f_covers(11'd0) && skid_valid)
        assert(skid_id == f_id && skid_last == f_last_at(11'd0) &&
               (f_address_at(11'd0) >> 2 != f_address ||
                skid_word == f_word));
      if (f_covers(f_at_rom) && reading)
        assert(reading_id == f_id && reading_last == f_last_at(f_at_rom) &&
               f_read_ad == f_address_at(f_at_rom) >> 2);
      if (f_covers(f_at_rom) && again)
        assert(next_addr == f_step_from(f_at_rom));
      if (f_covers(f_at_next))
        assert(burst_on && f_beat_at(f_at_next) != 8'd0 &&
               (again || next_addr == f_address_at(f_at_next)));
      if (f_covers(f_at_next) || f_covers(f_at_rom) && again)
        assert(left == f_len - f_beat_at(f_at_next) + 8'd1 &&
               burst_id == f_id &&
               burst_bytes == 3'd1 << f_size &&
               burst_incr == (f_type == INCR) &&
               burst_mask == (f_type == INCR ? 6'h3f : f_type == FIXED ? 6'h00 :
                              {f_len[3:0], 2'b11} >> (3'd2 - f_size)));
    end
  end
`endif
endmodule

`default_nettype wire
