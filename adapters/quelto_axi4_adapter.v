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
// address, when nothing is ahead of it, and RVALID is high in the next
// clock with the ROM's word, so with RREADY high the master takes the
// first beat at the first edge after the one that takes the address: the
// least that a ROM with a clock of read latency allows.
//
// Throughput: one beat per clock while RREADY is high, within a burst and
// from one burst to the next.  The adapter takes a burst's address while
// the burst before is still read, and holds one address waiting; ARREADY
// is low while it holds one.  When RREADY falls, up to two beats wait in
// the adapter, in order; no beat is lost, the ROM is read once for each
// beat, and once RREADY rises again the beats come one per clock, with no
// clock lost.
//
// Writes change nothing: the adapter takes the address and every W beat
// up to WLAST, in either order and any number of clocks apart, and then
// answers SLVERR on B with the burst's AWID.  One write burst is taken at
// a time; the write channels never wait on the read channels.
//
// Outputs: every READY, and BVALID and BID, is a register; RVALID, RDATA,
// RID and RLAST are chosen by registers between the beats that wait in
// the adapter's registers and the ROM's own output register, and RDATA,
// RID and RLAST are 0 while RVALID is low; RRESP and BRESP are
// constants.  No bus input reaches a bus output without a register.
// rom_ad, rom_sel and rom_rd follow ARADDR and ARVALID within the clock,
// so that the module takes a first beat's address at the edge that takes
// it from the bus.  aresetn is synchronous: from the first edge that
// samples it low, the READYs are low, and no VALID is high, until the
// edge after it rises, so that a master that leaves reset first waits
// for the adapter.  Every register starts at 0, which is idle, so that a
// design without a reset works too.

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
  localparam [1:0] FIXED = 2'b00, WRAP = 2'b10;
  localparam [1:0] OKAY = 2'b00, SLVERR = 2'b10;

  // A burst's beats are read from one of three places, the first that
  // has one: the burst under way (burst_*: the address of its next beat,
  // and the beats after that one), an address taken and waiting (held_*),
  // or the address that the bus gives at this edge.
  reg                burst_on = 1'b0;
  reg [31:0]         burst_addr = 32'h0;
  reg [7:0]          burst_len = 8'd0;
  reg [2:0]          burst_size = 3'd0;
  reg [1:0]          burst_type = 2'd0;
  reg [5:0]          burst_wrap = 6'd0;
  reg [ID_WIDTH-1:0] burst_id = {ID_WIDTH{1'b0}};

  reg                held = 1'b0;
  reg [31:0]         held_addr = 32'h0;
  reg [7:0]          held_len = 8'd0;
  reg [2:0]          held_size = 3'd0;
  reg [1:0]          held_type = 2'd0;
  reg [ID_WIDTH-1:0] held_id = {ID_WIDTH{1'b0}};

  wire ar_taken = s_axi_arvalid && s_axi_arready;
  wire from_held = !burst_on && held;
  wire from_bus  = !burst_on && !held && ar_taken;

  wire [31:0]         addr = burst_on ? burst_addr :
                             held     ? held_addr  : s_axi_araddr;
  wire [7:0]          len  = burst_on ? burst_len  :
                             held     ? held_len   : s_axi_arlen;
  wire [2:0]          size = burst_on ? burst_size :
                             held     ? held_size  : s_axi_arsize;
  wire [1:0]          kind = burst_on ? burst_type :
                             held     ? held_type  : s_axi_arburst;
  wire [ID_WIDTH-1:0] id   = burst_on ? burst_id   :
                             held     ? held_id    : s_axi_arid;

  // The next beat's address: the same for FIXED; for INCR the next
  // multiple of the size; for WRAP the same within the burst's aligned
  // block of (len + 1) << size bytes, which a new burst's beats give.  A
  // burst stays within its 4 KB page, so only the low 12 bits change.
  wire [2:0]  bytes   = 3'd1 << size;
  wire [5:0]  wrap    = burst_on ? burst_wrap : {len[3:0], 2'b00} >> (3'd2 - size) |
                                                {3'd0, bytes - 3'd1};
  wire [11:0] stepped = (addr[11:0] & ~{9'd0, bytes - 3'd1}) + {9'd0, bytes};
  wire [31:0] next    =
    kind == FIXED ? addr :
    kind == WRAP  ? {addr[31:6], addr[5:0] & ~wrap | stepped[5:0] & wrap} :
                    {addr[31:12], stepped};

  // A beat is on R from the clock after the ROM reads it: the ROM's own
  // (reading: its word on rom_rdata now, and for this clock only), or,
  // ahead of it, up to two beats kept when R was stalled (held_count, in
  // first_* then second_*).  A beat goes to the ROM only if it has a
  // place at the next edge, whatever RREADY does then.
  reg                reading = 1'b0;
  reg                reading_last = 1'b0;
  reg [ID_WIDTH-1:0] reading_id = {ID_WIDTH{1'b0}};
  reg [1:0]          held_count = 2'd0;
  reg [31:0]         first_word = 32'h0, second_word = 32'h0;
  reg [ID_WIDTH-1:0] first_id = {ID_WIDTH{1'b0}}, second_id = {ID_WIDTH{1'b0}};
  reg                first_last = 1'b0, second_last = 1'b0;

  wire kept_first = held_count != 2'd0;
  assign s_axi_rvalid = kept_first || reading;
  assign s_axi_rdata  = kept_first ? first_word : reading ? rom_rdata : 32'h0;
  assign s_axi_rid    = kept_first ? first_id :
                        reading ? reading_id : {ID_WIDTH{1'b0}};
  assign s_axi_rlast  = kept_first ? first_last : reading && reading_last;
  wire r_taken = s_axi_rvalid && s_axi_rready;
  // Beats kept after this edge: the ROM's is kept unless R takes it.
  wire [1:0] kept  = held_count + {1'b0, reading} - {1'b0, r_taken};
  wire start = (burst_on || held || ar_taken) && kept != 2'd2 && aresetn;
  // An address waits after this edge.
  wire holds = held ? !(start && from_held) : ar_taken && !(start && from_bus);

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock.
  assign rom_ad      = addr;
  assign rom_sel     = start;
  assign rom_rd      = start;
  assign s_axi_rresp = OKAY;

  always @(posedge aclk)
    if (!aresetn) begin
      s_axi_arready <= 1'b0;
      held          <= 1'b0;
      burst_on      <= 1'b0;
      reading       <= 1'b0;
      held_count    <= 2'd0;
    end else begin
      s_axi_arready <= !holds;
      held          <= holds;
      if (ar_taken) begin
        held_addr <= s_axi_araddr;
        held_len  <= s_axi_arlen;
        held_size <= s_axi_arsize;
        held_type <= s_axi_arburst;
        held_id   <= s_axi_arid;
      end

      if (start) begin
        burst_on   <= len != 8'd0;
        burst_addr <= next;
        burst_len  <= len - 8'd1;
        burst_size <= size;
        burst_type <= kind;
        burst_wrap <= wrap;
        burst_id   <= id;
      end

      reading      <= start;
      reading_last <= len == 8'd0;
      reading_id   <= id;
      held_count   <= kept;
      // The beats kept move up as R takes the first; the ROM's, unless R
      // takes it, goes behind those that stay.
      if (r_taken && held_count == 2'd2) begin
        first_word <= second_word;
        first_id   <= second_id;
        first_last <= second_last;
      end
      if (reading && !(r_taken && !kept_first)) begin
        if (kept == 2'd1) begin
          first_word <= rom_rdata;
          first_id   <= reading_id;
          first_last <= reading_last;
        end else begin
          second_word <= rom_rdata;
          second_id   <= reading_id;
          second_last <= reading_last;
        end
      end
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
  wire unused = &{1'b0, s_axi_arlock, s_axi_arcache, s_axi_arprot,
                  s_axi_arqos, s_axi_awaddr, s_axi_awlen, s_axi_awsize,
                  s_axi_awburst, s_axi_awlock, s_axi_awcache, s_axi_awprot,
                  s_axi_awqos, s_axi_wdata, s_axi_wstrb};

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

  // Where each beat owed is: the beats kept, the ROM, the burst under
  // way, the address held; the first position of each, from the front.
  wire [10:0] f_in_burst = burst_on ? {3'd0, burst_len} + 11'd1 : 11'd0;
  wire [10:0] f_in_held  = held ? {3'd0, held_len} + 11'd1 : 11'd0;
  wire [10:0] f_at_rom   = {9'd0, held_count};
  wire [10:0] f_at_burst = f_at_rom + reading;
  wire [10:0] f_at_held  = f_at_burst + f_in_burst;
  // The picked burst has the beat at position p, its beat number
  // f_done + p - f_ahead.
  function f_covers(input [10:0] p);
    f_covers = f_tracking && f_ahead <= p &&
               p - f_ahead <= {3'd0, f_len - f_done};
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
  function f_last_at(input [10:0] p);
    f_last_at = f_done + p[7:0] - f_ahead[7:0] == f_len;
  endfunction

  always @(posedge aclk) begin
    // Proven: the ROM is read only for a beat of a burst taken, never in
    // reset: so nothing is read before an address comes.
    if (rom_sel || rom_rd)
      assert(aresetn && (burst_on || held || ar_taken));
    // Proven: ARREADY is low after an edge out of reset only while an
    // address waits, one at most; R has a beat in every clock in which
    // beats are owed, so one beat per clock, within bursts and from one
    // to the next, whatever RREADY did before, and a burst's first beat
    // in the clock after the edge that takes its address, when nothing is
    // ahead of it; and with RREADY held high, no beat waits.
    if (f_past_valid && $past(aresetn))
      assert(s_axi_arready || held);
    assert(!(held && s_axi_arready));
    assert(s_axi_rvalid == (f_beats != 11'd0));
    if (f_rready_high)
      assert(held_count == 2'd0);
    // Proven: RID and RLAST are 0 whenever RVALID is low.
    if (!s_axi_rvalid)
      assert(s_axi_rid == {ID_WIDTH{1'b0}} && !s_axi_rlast);

    // The adapter's state agrees with the counts and the ROM's.
    if (f_past_valid)
      assert(reading == f_read);
    else
      assert(!reading && held_count == 2'd0 && !burst_on && !held);
    assert(f_beats == f_at_held + f_in_held);
    assert(held_count != 2'd3 && !(held_count == 2'd2 && reading));
    assert(f_aws == {1'b0, aw_held} && f_ws == {1'b0, w_done});
    assert(s_axi_bvalid == (aw_held && w_done));
    if (f_aw_tracking)
      assert(aw_held && s_axi_bid == f_aw_id);
    assert(!(aw_held && s_axi_awready) && !(w_done && s_axi_wready));
    if (f_tracking) begin
      // The picked burst starts in a place, not inside the burst under
      // way, nor inside the address held.
      assert(!(f_ahead > f_at_burst && f_ahead < f_at_held));
      assert(f_ahead <= f_at_held);
      if (f_ahead == f_at_held)
        assert(held && f_done == 8'd0 && held_addr == f_start &&
               held_len == f_len && held_size == f_size &&
               held_type == f_type && held_id == f_id);
      if (f_covers(11'd0) && held_count != 2'd0)
        assert(first_id == f_id && first_last == f_last_at(11'd0) &&
               (f_address_at(11'd0) >> 2 != f_address ||
                first_word == f_word));
      if (f_covers(11'd1) && held_count == 2'd2)
        assert(second_id == f_id && second_last == f_last_at(11'd1) &&
               (f_address_at(11'd1) >> 2 != f_address ||
                second_word == f_word));
      if (f_covers(f_at_rom) && reading)
        assert(reading_id == f_id && reading_last == f_last_at(f_at_rom) &&
               f_read_ad == f_address_at(f_at_rom) >> 2);
      if (f_covers(f_at_burst) && f_ahead < f_at_burst)
        assert(burst_on);
      if (burst_on && f_covers(f_at_burst))
        assert(burst_addr == f_address_at(f_at_burst) &&
               burst_len == f_len - (f_done + f_at_burst[7:0] - f_ahead[7:0]) &&
               burst_size == f_size && burst_type == f_type &&
               burst_id == f_id &&
               (f_type != WRAP ||
                burst_wrap == ({f_len[3:0], 2'b00} >> (3'd2 - f_size) |
                               (6'd1 << f_size) - 6'd1)));
    end
  end
`endif
endmodule

`default_nettype wire
