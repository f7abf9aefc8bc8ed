// SPDX-License-Identifier: ISC
// quelto_formal_axi: the rules of AXI4 between a master and a ROM slave on
// a 32-bit bus, for the AXI adapters' proofs.  Formal verification only
// (Yosys read_verilog -formal); an adapter instantiates it under `ifdef
// FORMAL.  An AXI4-Lite adapter gives it bursts of one beat: ARLEN and
// AWLEN 0, ARSIZE 2, ARBURST INCR, WLAST and RLAST 1, and IDs 0.
//
// It assumes of the master what the bus's rules make it do: no VALID in
// reset nor in the clock after it; every VALID held, with what it
// carries, until READY; and legal bursts: a size of at most the bus's
// width, no reserved burst type, WRAP of 2, 4, 8 or 16 beats from an
// address aligned to the size, FIXED of at most 16, and no INCR burst
// across a 4 KB boundary.
//
// It asserts of the slave what they make it do, with what a ROM adds:
// READYs low, and no VALID, from the first edge that samples reset until
// the edge after it rises; every VALID held, with what it carries, until
// READY; R beats only for bursts taken, in order, each with OKAY, the
// burst's ID, RLAST on its last beat alone, and the word that holds the
// address that AXI4 gives that beat (f_address holds f_word, as the
// quelto_formal_rom beside it chooses); RDATA 0 while RVALID is low,
// from the first clock edge on; one B for each write burst, once both
// its address and its last W beat are taken, with SLVERR and the
// burst's ID.
//
// Outputs, for the adapter's own assertions: the R beats owed
// (f_beats); the write addresses taken and not answered (f_aws), and the
// write bursts whose last W beat is taken and not answered (f_ws); and
// one burst that the solver picks (f_tracking): its beats ahead of it in
// the answers (f_ahead), its beats already answered (f_done), its
// length, address, size, type and ID (f_len ...), and f_next_beats, the
// addresses of its beats f_done to f_done + 3, lowest first; and one
// write burst that the solver picks (f_aw_tracking), with its ID
// (f_aw_id).
//
// With FORMAL_NO_RESET defined, aresetn is never low: the proof then
// starts from the all-zero state of the adapter's registers.

`default_nettype none

module quelto_formal_axi #(
  parameter ID_WIDTH = 4
) (
  input  wire                aclk,
  input  wire                aresetn,

  input  wire [ID_WIDTH-1:0] s_axi_arid,
  input  wire [31:0]         s_axi_araddr,
  input  wire [7:0]          s_axi_arlen,
  input  wire [2:0]          s_axi_arsize,
  input  wire [1:0]          s_axi_arburst,
  input  wire [2:0]          s_axi_arprot,
  input  wire                s_axi_arvalid,
  input  wire                s_axi_arready,
  input  wire [ID_WIDTH-1:0] s_axi_rid,
  input  wire [31:0]         s_axi_rdata,
  input  wire [1:0]          s_axi_rresp,
  input  wire                s_axi_rlast,
  input  wire                s_axi_rvalid,
  input  wire                s_axi_rready,

  input  wire [ID_WIDTH-1:0] s_axi_awid,
  input  wire [31:0]         s_axi_awaddr,
  input  wire [7:0]          s_axi_awlen,
  input  wire [2:0]          s_axi_awsize,
  input  wire [1:0]          s_axi_awburst,
  input  wire [2:0]          s_axi_awprot,
  input  wire                s_axi_awvalid,
  input  wire                s_axi_awready,
  input  wire [31:0]         s_axi_wdata,
  input  wire [3:0]          s_axi_wstrb,
  input  wire                s_axi_wlast,
  input  wire                s_axi_wvalid,
  input  wire                s_axi_wready,
  input  wire [ID_WIDTH-1:0] s_axi_bid,
  input  wire [1:0]          s_axi_bresp,
  input  wire                s_axi_bvalid,
  input  wire                s_axi_bready,

  input  wire [31:2]         f_address,
  input  wire [31:0]         f_word,

  output reg  [10:0]         f_beats = 11'd0,
  output reg  [1:0]          f_aws = 2'd0,
  output reg  [1:0]          f_ws = 2'd0,
  output reg                 f_tracking = 1'b0,
  output reg  [10:0]         f_ahead = 11'd0,
  output reg  [7:0]          f_done = 8'd0,
  output reg  [7:0]          f_len = 8'd0,
  output reg  [31:0]         f_start = 32'd0,
  output reg  [2:0]          f_size = 3'd0,
  output reg  [1:0]          f_type = 2'd0,
  output reg  [ID_WIDTH-1:0] f_id = {ID_WIDTH{1'b0}},
  output wire [127:0]        f_next_beats,
  output reg                 f_aw_tracking = 1'b0,
  output reg  [ID_WIDTH-1:0] f_aw_id = {ID_WIDTH{1'b0}}
);
  localparam [1:0] FIXED = 2'b00, INCR = 2'b01, WRAP = 2'b10;
  localparam [1:0] OKAY = 2'b00, SLVERR = 2'b10;

  reg f_past_valid = 1'b0;
  always @(posedge aclk)
    f_past_valid <= 1'b1;

  wire f_ar = s_axi_arvalid && s_axi_arready;
  wire f_r  = s_axi_rvalid && s_axi_rready;
  wire f_aw = s_axi_awvalid && s_axi_awready;
  wire f_w  = s_axi_wvalid && s_axi_wready && s_axi_wlast;
  wire f_b  = s_axi_bvalid && s_axi_bready;

  // The address of beat n (from 0) of a burst, as AXI4 gives it: the
  // start, then the multiples of the size after the start's aligned
  // address; wrapping within the aligned block of the burst's bytes; or
  // always the start.  A legal burst stays within the 4 KB page of its
  // start, so only the address's low 12 bits change.
  function [31:0] f_address_of(input [31:0] start, input [7:0] len,
                               input [2:0] size, input [1:0] type,
                               input [7:0] n);
    reg [11:0] bytes, block, low;
    begin
      bytes = 12'd1 << size;
      block = ({4'd0, len} + 12'd1) << size;
      if (type == FIXED || n == 8'd0)
        low = start[11:0];
      else if (type == INCR)
        low = (start[11:0] & ~(bytes - 12'd1)) + ({4'd0, n} << size);
      else
        low = start[11:0] & ~(block - 12'd1) |
              (start[11:0] + ({4'd0, n} << size)) & (block - 12'd1);
      f_address_of = {start[31:12], low};
    end
  endfunction

  // A legal burst on a 32-bit bus.
  function f_legal(input [31:0] start, input [7:0] len, input [2:0] size,
                   input [1:0] type);
    f_legal = size <= 3'd2 && type != 2'b11 &&
      (type != WRAP || (len == 8'd1 || len == 8'd3 || len == 8'd7 ||
                        len == 8'd15) &&
                       (start[1:0] & ((2'd1 << size) - 2'd1)) == 2'd0) &&
      (type != FIXED || len <= 8'd15) &&
      (type != INCR || {1'b0, start[11:0] & ~((12'd1 << size) - 12'd1)} +
                       ({5'd0, len} << size) <= 13'hfff);
  endfunction

  // The master.
`ifdef FORMAL_NO_RESET
  always @(*)
    assume(aresetn);
`else
  always @(*)
    if (!f_past_valid)
      assume(!aresetn);
  always @(posedge aclk)
    if (!f_past_valid || !aresetn || $past(!aresetn))
      assume(!s_axi_arvalid && !s_axi_awvalid && !s_axi_wvalid);
`endif
  always @(*) begin
    if (s_axi_arvalid)
      assume(f_legal(s_axi_araddr, s_axi_arlen, s_axi_arsize, s_axi_arburst));
    if (s_axi_awvalid)
      assume(f_legal(s_axi_awaddr, s_axi_awlen, s_axi_awsize, s_axi_awburst));
    // No more bursts owed than the counts can hold.
    if (f_beats > 11'd1024)
      assume(!s_axi_arvalid);
  end
  always @(posedge aclk)
    if (f_past_valid && $past(aresetn) && aresetn) begin
      if ($past(s_axi_arvalid && !s_axi_arready))
        assume(s_axi_arvalid && s_axi_arid == $past(s_axi_arid) &&
               s_axi_araddr == $past(s_axi_araddr) &&
               s_axi_arlen == $past(s_axi_arlen) &&
               s_axi_arsize == $past(s_axi_arsize) &&
               s_axi_arburst == $past(s_axi_arburst) &&
               s_axi_arprot == $past(s_axi_arprot));
      if ($past(s_axi_awvalid && !s_axi_awready))
        assume(s_axi_awvalid && s_axi_awid == $past(s_axi_awid) &&
               s_axi_awaddr == $past(s_axi_awaddr) &&
               s_axi_awlen == $past(s_axi_awlen) &&
               s_axi_awsize == $past(s_axi_awsize) &&
               s_axi_awburst == $past(s_axi_awburst) &&
               s_axi_awprot == $past(s_axi_awprot));
      if ($past(s_axi_wvalid && !s_axi_wready))
        assume(s_axi_wvalid && s_axi_wdata == $past(s_axi_wdata) &&
               s_axi_wstrb == $past(s_axi_wstrb) &&
               s_axi_wlast == $past(s_axi_wlast));
    end

  // R beats owed; write addresses, and write bursts to their last W
  // beat, taken and not answered; one read burst that the solver picks,
  // and one write burst, each with the answers owed before its own.
  (* anyseq *) reg f_pick;
  (* anyseq *) reg f_pick_write;
  reg [1:0]          f_aw_ahead = 2'd0;
  always @(posedge aclk)
    if (!aresetn) begin
      f_beats       <= 11'd0;
      f_aws         <= 2'd0;
      f_ws          <= 2'd0;
      f_tracking    <= 1'b0;
      f_aw_tracking <= 1'b0;
    end else begin
      f_beats <= f_beats + (f_ar ? {3'd0, s_axi_arlen} + 11'd1 : 11'd0) - f_r;
      f_aws   <= f_aws + f_aw - f_b;
      f_ws    <= f_ws + f_w - f_b;
      if (!f_tracking && f_pick && f_ar) begin
        f_tracking <= 1'b1;
        f_ahead    <= f_beats - f_r;
        f_done     <= 8'd0;
        f_len      <= s_axi_arlen;
        f_start    <= s_axi_araddr;
        f_size     <= s_axi_arsize;
        f_type     <= s_axi_arburst;
        f_id       <= s_axi_arid;
      end else if (f_tracking && f_r) begin
        if (f_ahead != 11'd0)
          f_ahead <= f_ahead - 11'd1;
        else if (f_done == f_len)
          f_tracking <= 1'b0;
        else
          f_done <= f_done + 8'd1;
      end
      if (!f_aw_tracking && f_pick_write && f_aw) begin
        f_aw_tracking <= 1'b1;
        f_aw_ahead    <= f_aws - f_b;
        f_aw_id       <= s_axi_awid;
      end else if (f_aw_tracking && f_b) begin
        if (f_aw_ahead == 2'd0)
          f_aw_tracking <= 1'b0;
        f_aw_ahead <= f_aw_ahead - 2'd1;
      end
    end

  genvar k;
  generate for (k = 0; k < 4; k = k + 1) begin : beat
    assign f_next_beats[32 * k +: 32] =
      f_address_of(f_start, f_len, f_size, f_type, f_done + k);
  end endgenerate
  wire [31:0] f_this_beat = f_next_beats[31:0];

  // The slave.
  always @(posedge aclk) begin
    // Proven: no VALID and no READY before the first clock edge, nor in
    // the clock after an edge in reset.
    if (!f_past_valid || $past(!aresetn))
      assert(!s_axi_rvalid && !s_axi_bvalid && !s_axi_arready &&
             !s_axi_awready && !s_axi_wready);
    if (f_past_valid && $past(aresetn) && aresetn) begin
      // Proven: every VALID held, with what it carries, until READY.
      if ($past(s_axi_rvalid && !s_axi_rready))
        assert(s_axi_rvalid && s_axi_rdata == $past(s_axi_rdata) &&
               s_axi_rresp == $past(s_axi_rresp) &&
               s_axi_rid == $past(s_axi_rid) &&
               s_axi_rlast == $past(s_axi_rlast));
      if ($past(s_axi_bvalid && !s_axi_bready))
        assert(s_axi_bvalid && s_axi_bresp == $past(s_axi_bresp) &&
               s_axi_bid == $past(s_axi_bid));
    end
    // Proven: R beats only for bursts taken, each OKAY; one B for each
    // write burst, SLVERR, once both its address and its last W beat are
    // taken.
    if (s_axi_rvalid)
      assert(f_beats != 11'd0 && s_axi_rresp == OKAY);
    if (s_axi_bvalid)
      assert(f_aws != 2'd0 && f_ws != 2'd0 && s_axi_bresp == SLVERR);
    // Proven: RDATA is 0 whenever RVALID is low, from the first clock
    // edge on (the ROM's output is unknown before it).
    if (f_past_valid && !s_axi_rvalid)
      assert(s_axi_rdata == 32'h0);
    // Proven: every beat of a burst comes in order, with the burst's ID,
    // RLAST on the last beat alone, and the word that holds the address
    // that AXI4 gives the beat; every B has its burst's ID.
    if (f_tracking && f_ahead == 11'd0 && s_axi_rvalid) begin
      assert(s_axi_rid == f_id && s_axi_rlast == (f_done == f_len));
      if (f_this_beat[31:2] == f_address)
        assert(s_axi_rdata == f_word);
    end
    if (f_aw_tracking && f_aw_ahead == 2'd0 && s_axi_bvalid)
      assert(s_axi_bid == f_aw_id);
    if (f_tracking)
      assert(f_done <= f_len && f_ahead + {3'd0, f_len - f_done} < f_beats &&
             f_legal(f_start, f_len, f_size, f_type));
    if (f_aw_tracking)
      assert(f_aw_ahead < f_aws);
  end
endmodule

`default_nettype wire
