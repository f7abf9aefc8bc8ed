// SPDX-License-Identifier: ISC
// quelto_formal_wishbone: the rules of a Wishbone B4 bus between a master
// and a ROM slave, for the Wishbone adapters' proofs.  Formal
// verification only (Yosys read_verilog -formal); each Wishbone adapter
// instantiates it under `ifdef FORMAL on its bus side.
//
// It assumes of the master what the bus's rules make it do, and asserts
// of the slave what they make it do, with what a ROM adds: a read gets an
// ack with the word at its address (f_address holds f_word, as the
// quelto_formal_rom beside it chooses), a write gets an err, and the data
// is 0 without an ack.
//
// PIPELINED 0 is the classic bus: the master holds a request (CYC and
// STB) until an edge sees its ack or err.  BURST 1 adds registered
// feedback: after an edge that completes a transfer (ACK and STB) with
// CTI 001 or 010, the slave may answer the master's next transfer in the
// next clock, before it has seen all of it.  The master may leave the
// burst then: by a classic cycle (CTI 000, or a reserved value) at any
// address, a write among them; by STB low; or by CYC low; but a transfer
// that goes on with the burst (CYC and STB, CTI 001, 010 or 111) keeps
// the burst's promise: a read at the burst's next address (f_burst_next,
// the same for CTI 001, the next word for 010, within the block that BTE
// gives), with the same BTE.
// ACK_WRITES 1 has a write answered with an ack instead of an err.
// PIPELINED 1 is the pipelined bus: a request is taken at an edge with
// STB and not STALL, and answered later, in order; a master holds a
// request that STALL refuses.  Dropping CYC abandons every answer owed.
// STB means nothing while CYC is low.
//
// Outputs, for the adapter's own assertions: f_outstanding, the requests
// of the pipelined bus taken and not answered; f_burst_promised, high in
// the clock after an edge that completed a transfer with CTI 001 or 010,
// and f_burst_next, the burst's next address then.
//
// With FORMAL_NO_RESET defined, RST is never asserted: the proof then
// starts from the all-zero state of the adapter's registers.

`default_nettype none

module quelto_formal_wishbone #(
  parameter PIPELINED = 0,
  parameter BURST = 0,
  parameter ACK_WRITES = 0
) (
  input  wire        clk,
  input  wire        rst,
  input  wire        cyc,
  input  wire        stb,
  input  wire        we,
  input  wire [31:0] adr,
  input  wire [3:0]  sel,
  input  wire [31:0] dat_w,
  input  wire [2:0]  cti,
  input  wire [1:0]  bte,
  input  wire        stall,
  input  wire        ack,
  input  wire        err,
  input  wire [31:0] dat_r,
  input  wire [31:2] f_address,
  input  wire [31:0] f_word,

  output reg  [2:0]  f_outstanding = 3'd0,
  output reg         f_burst_promised = 1'b0,
  output reg  [31:2] f_burst_next = 30'd0
);
  localparam [2:0] CONSTANT = 3'b001, INCREMENTING = 3'b010,
                   END_OF_BURST = 3'b111;

  reg f_past_valid = 1'b0;
  always @(posedge clk)
    f_past_valid <= 1'b1;

  reg       f_last_we = 1'b0;
  (* anyseq *) reg f_pick;
  reg       f_tracking = 1'b0;
  reg [2:0] f_ahead = 3'd0;

  wire answer = ack || err;
  // A request on the bus at this edge, and one taken at this edge.
  wire request = cyc && stb;
  wire taken = PIPELINED ? request && !stall : request;
  // A transfer completes at this edge with more of its burst to come.
  wire burst_goes_on = BURST && request && ack &&
                       (cti == CONSTANT || cti == INCREMENTING);

  // The burst's next address, as Wishbone gives it: the same for a
  // constant address; else the next word, wrapping within the aligned
  // block of 4, 8 or 16 words for BTE 01, 10 and 11.
  reg  [1:0]  f_burst_bte = 2'd0;
  wire [31:2] f_linear = adr[31:2] + 30'd1;
  always @(posedge clk) begin
    f_burst_promised <= burst_goes_on && !rst;
    f_burst_bte      <= bte;
    if (cti == CONSTANT)
      f_burst_next <= adr[31:2];
    else
      case (bte)
        2'b00:   f_burst_next <= f_linear;
        2'b01:   f_burst_next <= {adr[31:4], f_linear[3:2]};
        2'b10:   f_burst_next <= {adr[31:5], f_linear[4:2]};
        default: f_burst_next <= {adr[31:6], f_linear[5:2]};
      endcase
  end

  // The master.
`ifdef FORMAL_NO_RESET
  always @(*)
    assume(!rst);
`else
  always @(*)
    if (!f_past_valid)
      assume(rst);
`endif
  always @(posedge clk)
    if (f_past_valid && !$past(rst) && cyc) begin
      // A request waits, unchanged, for its answer (classic) or for the
      // end of STALL (pipelined).
      if (PIPELINED ? $past(request && stall) : $past(request && !answer)) begin
        assume(stb && we == $past(we) && adr == $past(adr));
        assume(sel == $past(sel) && dat_w == $past(dat_w));
        assume(cti == $past(cti) && bte == $past(bte));
      end
      // The pipelined master keeps one direction while answers are owed.
      if (PIPELINED && f_outstanding != 3'd0 && stb)
        assume(we == f_last_we);
      // Seven answers owed at most: as many as the count can hold.
      if (PIPELINED && f_outstanding == 3'd7)
        assume(!stb);
      // A transfer that goes on with a burst keeps the burst's promise.
      if (f_burst_promised && stb &&
          (cti == CONSTANT || cti == INCREMENTING || cti == END_OF_BURST))
        assume(!we && adr[31:2] == f_burst_next && bte == f_burst_bte);
    end

  // The pipelined bus: requests taken and not answered, the direction of
  // the last one, and one read that the solver picks at f_address, with
  // the number of answers owed before its own.
  generate if (PIPELINED)
    always @(posedge clk)
      if (rst || !cyc) begin
        f_outstanding <= 3'd0;
        f_tracking    <= 1'b0;
      end else begin
        f_outstanding <= f_outstanding + taken - answer;
        if (taken)
          f_last_we <= we;
        if (!f_tracking && f_pick && taken && !we &&
            adr[31:2] == f_address) begin
          f_tracking <= 1'b1;
          f_ahead    <= f_outstanding - answer;
        end else if (f_tracking && answer) begin
          if (f_ahead == 3'd0)
            f_tracking <= 1'b0;
          f_ahead <= f_ahead - 3'd1;
        end
      end
  endgenerate

  // The slave.
  always @(posedge clk) begin
    // Proven: no answer before the first clock edge, nor in the clock
    // after an edge in reset; never ack and err together; the data 0
    // without an ack.
    if (!f_past_valid || $past(rst))
      assert(!answer);
    assert(!(ack && err));
    if (!ack)
      assert(dat_r == 32'h0);
    if (f_past_valid && answer) begin
      // Proven: every answer is owed: to a request of the edge before,
      // which had none (classic), or to a burst that went on at that
      // edge; or, pipelined, to a request taken and not yet answered.
      if (PIPELINED)
        assert(f_outstanding != 3'd0);
      else
        assert($past(request) && ($past(!answer) || $past(burst_goes_on)));
      // Proven: a read gets an ack, a write an err (or an ack, with
      // ACK_WRITES); on the classic bus, the transfer that the answer
      // completes is the one on the bus in its clock.
      if (PIPELINED)
        assert(ack == (!f_last_we || ACK_WRITES != 0));
      else if (request)
        assert(ack == (!we || ACK_WRITES != 0));
    end
    // Proven: an ack completes a read with the word at its address, and
    // a write with 0.
    if (!PIPELINED && ack && request && !we && adr[31:2] == f_address)
      assert(dat_r == f_word);
    if (!PIPELINED && ack && request && we)
      assert(dat_r == 32'h0);
    if (PIPELINED && f_tracking && f_ahead == 3'd0 && answer)
      assert(ack && dat_r == f_word);
    if (PIPELINED && f_tracking)
      assert(f_ahead < f_outstanding);
  end
endmodule

`default_nettype wire
