// SPDX-License-Identifier: ISC
// quelto_formal_obi: the rules of OBI 1.x, as Ibex, CVE2 and CV32E40P
// drive it (no rready), between a processor and a ROM, for the OBI
// adapter's proof.  Formal verification only (Yosys read_verilog
// -formal); the adapter instantiates it under `ifdef FORMAL.
//
// It assumes of the processor what the bus's rules make it do: a request
// (req_i) waits, with its address, strobes and data, until an edge sees
// gnt_o; up to seven granted requests await their answers.  It asserts of
// the memory what they make it do, with what a ROM adds: rvalid_o only
// for a request granted at an earlier edge, one for each, in order; a
// read answered with the word at its address (f_address holds f_word, as
// the quelto_formal_rom beside it chooses) and err_o low; a write
// answered with err_o high; rdata_o 0 while rvalid_o is low.
//
// Outputs, for the adapter's own assertions: f_outstanding, the requests
// granted and not answered.
//
// With FORMAL_NO_RESET defined, rst_ni is never low: the proof then
// starts from the all-zero state of the adapter's registers.

`default_nettype none

module quelto_formal_obi (
  input  wire        clk,
  input  wire        rst_ni,
  input  wire        req,
  input  wire        gnt,
  input  wire [31:0] addr,
  input  wire        we,
  input  wire [3:0]  be,
  input  wire [31:0] wdata,
  input  wire        rvalid,
  input  wire [31:0] rdata,
  input  wire        err,
  input  wire [31:2] f_address,
  input  wire [31:0] f_word,

  output reg  [2:0]  f_outstanding = 3'd0
);
  reg f_past_valid = 1'b0;
  always @(posedge clk)
    f_past_valid <= 1'b1;

  wire granted = req && gnt;

  // The processor.
`ifdef FORMAL_NO_RESET
  always @(*)
    assume(rst_ni);
`else
  always @(*)
    if (!f_past_valid)
      assume(!rst_ni);
`endif
  always @(posedge clk)
    if (f_past_valid && $past(rst_ni) && rst_ni) begin
      if ($past(req && !gnt))
        assume(req && addr == $past(addr) && we == $past(we) &&
               be == $past(be) && wdata == $past(wdata));
      if (f_outstanding == 3'd7)
        assume(!req);
    end

  // Requests granted and not answered, and one read that the solver
  // picks, at f_address, with the number of answers owed before its own.
  (* anyseq *) reg f_pick;
  reg       f_tracking = 1'b0;
  reg [2:0] f_ahead = 3'd0;
  always @(posedge clk)
    if (!rst_ni) begin
      f_outstanding <= 3'd0;
      f_tracking    <= 1'b0;
    end else begin
      f_outstanding <= f_outstanding + granted - rvalid;
      if (!f_tracking && f_pick && granted && !we &&
          addr[31:2] == f_address) begin
        f_tracking <= 1'b1;
        f_ahead    <= f_outstanding - rvalid;
      end else if (f_tracking && rvalid) begin
        if (f_ahead == 3'd0)
          f_tracking <= 1'b0;
        f_ahead <= f_ahead - 3'd1;
      end
    end

  // The direction of every request granted and not answered, oldest in
  // bit 0: 1 for a write.
  reg [6:0] f_writes = 7'd0;
  always @(posedge clk)
    if (!rst_ni)
      f_writes <= 7'd0;
    else
      f_writes <= f_writes >> rvalid |
                  {6'd0, we && granted} << (f_outstanding - rvalid);

  // The memory.
  always @(posedge clk) begin
    // Proven: no answer before the first clock edge, nor in the clock
    // after an edge in reset; rdata_o 0 while rvalid_o is low.
    if (!f_past_valid || $past(!rst_ni))
      assert(!rvalid);
    if (!rvalid)
      assert(rdata == 32'h0);
    // Proven: rvalid_o only for a request granted at an earlier edge and
    // not yet answered: never in the clock of its grant.
    if (rvalid)
      assert(f_outstanding != 3'd0);
    // Proven: a read is answered with err_o low, a write with err_o
    // high; and a read with the word at its address, in order.
    if (rvalid)
      assert(err == f_writes[0]);
    if (f_tracking && f_ahead == 3'd0 && rvalid)
      assert(rdata == f_word);
    if (f_tracking)
      assert(f_ahead < f_outstanding && !f_writes[f_ahead]);
    assert(f_writes >> f_outstanding == 7'd0);
  end
endmodule

`default_nettype wire
