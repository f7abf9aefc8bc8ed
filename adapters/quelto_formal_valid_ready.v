// SPDX-License-Identifier: ISC
// quelto_formal_valid_ready: the rules of the memory interface of
// PicoRV32-style processors between a processor and a ROM, for the
// valid/ready adapter's proof.  Formal verification only (Yosys
// read_verilog -formal); the adapter instantiates it under `ifdef FORMAL.
//
// It assumes of the processor what the interface makes it do: it holds a
// transfer (mem_valid, with its address, strobes and data) until an edge
// sees mem_ready; and it allows what a processor reset apart from the
// memory does, a transfer withdrawn before its answer.  It asserts of the
// memory: an answer only to the transfer at the edge before, and none to
// one withdrawn; a read's answer with the word at its address (f_address
// holds f_word, as the quelto_formal_rom beside it chooses); mem_rdata 0
// whenever mem_ready is low, and after a write.
//
// With FORMAL_NO_RESET defined, resetn is never low: the proof then
// starts from the all-zero state of the adapter's registers.

`default_nettype none

module quelto_formal_valid_ready (
  input  wire        clk,
  input  wire        resetn,
  input  wire        mem_valid,
  input  wire [31:0] mem_addr,
  input  wire [31:0] mem_wdata,
  input  wire [3:0]  mem_wstrb,
  input  wire        mem_ready,
  input  wire [31:0] mem_rdata,
  input  wire [31:2] f_address,
  input  wire [31:0] f_word
);
  reg f_past_valid = 1'b0;
  always @(posedge clk)
    f_past_valid <= 1'b1;

  // The transfer at this edge that has had no answer yet.
  wire transfer = mem_valid && !mem_ready;

  // The processor.
`ifdef FORMAL_NO_RESET
  always @(*)
    assume(resetn);
`else
  always @(*)
    if (!f_past_valid)
      assume(!resetn);
`endif
  always @(posedge clk)
    if (f_past_valid && $past(resetn && transfer) && mem_valid)
      assume(mem_addr == $past(mem_addr) && mem_wstrb == $past(mem_wstrb) &&
             mem_wdata == $past(mem_wdata));

  // The memory.
  always @(posedge clk) begin
    // Proven: no answer before the first clock edge, nor in the clock
    // after an edge in reset; mem_rdata 0 whenever mem_ready is low.
    if (!f_past_valid || $past(!resetn))
      assert(!mem_ready);
    if (!mem_ready)
      assert(mem_rdata == 32'h0);
    if (f_past_valid && mem_ready) begin
      // Proven: an answer only to the transfer at the edge before, which
      // had none, so a withdrawn transfer is never answered.
      assert($past(transfer));
      // Proven: the answer to a read brings the word at its address; to
      // a write, 0.
      if ($past(mem_wstrb) != 4'h0)
        assert(mem_rdata == 32'h0);
      else if ($past(mem_addr[31:2]) == f_address)
        assert(mem_rdata == f_word);
    end
  end
endmodule

`default_nettype wire
