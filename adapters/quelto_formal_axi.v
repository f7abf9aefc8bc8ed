// SPDX-License-Identifier: ISC
// quelto_formal_axi: the rules of AXI4-Lite between a master and a ROM
// slave, for the AXI adapters' proofs.  Formal verification only (Yosys
// read_verilog -formal); an adapter instantiates it under `ifdef FORMAL.
//
// It assumes of the master what the bus's rules make it do: no VALID in
// reset nor in the clock after it, and every VALID held, with what it
// carries, until READY.  It asserts of the slave what they make it do,
// with what a ROM adds: every read answered in order, OKAY, with the
// word at its address (f_address holds f_word, as the quelto_formal_rom
// beside it chooses), RDATA 0 while RVALID is low; every write answered
// SLVERR once both its address and its data are taken; and the READYs
// low in reset, so that a master that leaves reset first waits.
//
// Outputs, for the adapter's own assertions: the reads taken and not
// answered (f_reads), the write addresses and data taken and not answered
// (f_aws, f_ws), and whether the solver has picked a read at f_address
// (f_tracking), with the answers owed before its own (f_ahead).
//
// With FORMAL_NO_RESET defined, aresetn is never low: the proof then
// starts from the all-zero state of the adapter's registers.

`default_nettype none

module quelto_formal_axi (
  input  wire        aclk,
  input  wire        aresetn,

  input  wire [31:0] s_axi_awaddr,
  input  wire [2:0]  s_axi_awprot,
  input  wire        s_axi_awvalid,
  input  wire        s_axi_awready,
  input  wire [31:0] s_axi_wdata,
  input  wire [3:0]  s_axi_wstrb,
  input  wire        s_axi_wvalid,
  input  wire        s_axi_wready,
  input  wire [1:0]  s_axi_bresp,
  input  wire        s_axi_bvalid,
  input  wire        s_axi_bready,

  input  wire [31:0] s_axi_araddr,
  input  wire [2:0]  s_axi_arprot,
  input  wire        s_axi_arvalid,
  input  wire        s_axi_arready,
  input  wire [31:0] s_axi_rdata,
  input  wire [1:0]  s_axi_rresp,
  input  wire        s_axi_rvalid,
  input  wire        s_axi_rready,

  input  wire [31:2] f_address,
  input  wire [31:0] f_word,

  output reg  [2:0]  f_reads = 3'd0,
  output reg  [1:0]  f_aws = 2'd0,
  output reg  [1:0]  f_ws = 2'd0,
  output reg         f_tracking = 1'b0,
  output reg  [2:0]  f_ahead = 3'd0
);
  localparam [1:0] OKAY = 2'b00, SLVERR = 2'b10;

  reg f_past_valid = 1'b0;
  always @(posedge aclk)
    f_past_valid <= 1'b1;

  wire f_ar = s_axi_arvalid && s_axi_arready;
  wire f_r  = s_axi_rvalid && s_axi_rready;
  wire f_aw = s_axi_awvalid && s_axi_awready;
  wire f_w  = s_axi_wvalid && s_axi_wready;
  wire f_b  = s_axi_bvalid && s_axi_bready;

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

  // Reads taken and not answered; write addresses and data taken and not
  // answered; and one read that the solver picks, at f_address, with the
  // number of answers that come before its own.
  (* anyseq *) reg f_pick;
  always @(posedge aclk)
    if (!aresetn) begin
      f_reads    <= 3'd0;
      f_aws      <= 2'd0;
      f_ws       <= 2'd0;
      f_tracking <= 1'b0;
    end else begin
      f_reads <= f_reads + f_ar - f_r;
      f_aws   <= f_aws + f_aw - f_b;
      f_ws    <= f_ws + f_w - f_b;
      if (!f_tracking && f_pick && f_ar && s_axi_araddr[31:2] == f_address) begin
        f_tracking <= 1'b1;
        f_ahead    <= f_reads - f_r;
      end else if (f_tracking && f_r) begin
        if (f_ahead == 3'd0)
          f_tracking <= 1'b0;
        f_ahead <= f_ahead - 3'd1;
      end
    end

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
               s_axi_rresp == $past(s_axi_rresp));
      if ($past(s_axi_bvalid && !s_axi_bready))
        assert(s_axi_bvalid && s_axi_bresp == $past(s_axi_bresp));
    end
    // Proven: one answer per request, none unrequested: reads with OKAY,
    // writes with SLVERR once both address and data are taken.
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
    if (f_tracking)
      assert(f_ahead < f_reads);
  end
endmodule

`default_nettype wire
