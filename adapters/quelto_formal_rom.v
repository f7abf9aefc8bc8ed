// SPDX-License-Identifier: ISC
// quelto_formal_rom: the ROM module that quelto writes, as the adapters'
// proofs see it.  Formal verification only (Yosys read_verilog -formal);
// each adapter instantiates it under `ifdef FORMAL on its ROM side.
//
// After a clock edge with rom_sel and rom_rd high, rom_rdata is the word
// at the address of that edge; after any other edge it is 0.  At one
// word address that the solver chooses (f_address) the ROM holds a word
// that the solver chooses (f_word); anywhere else, anything.  Before the
// first edge rom_rdata is unknown, as the module has no reset.
//
// f_read is high in the clock after a read, with f_read_ad its address:
// the adapter's own record of a read must agree with it.  f_past_valid is
// high from the first clock edge on: $past has a value.

`default_nettype none

module quelto_formal_rom (
  input  wire        clk,
  input  wire [31:0] rom_ad,
  input  wire        rom_sel,
  input  wire        rom_rd,
  input  wire [31:0] rom_rdata,

  output wire [31:2] f_address,
  output wire [31:0] f_word,
  output reg         f_read,
  output reg  [31:2] f_read_ad,
  output reg         f_past_valid = 1'b0
);
  (* anyconst *) reg [31:2] address;
  (* anyconst *) reg [31:0] word;
  assign f_address = address;
  assign f_word    = word;

  always @(posedge clk) begin
    f_past_valid <= 1'b1;
    f_read       <= rom_sel && rom_rd;
    if (rom_sel && rom_rd)
      f_read_ad <= rom_ad[31:2];
  end

  always @(*)
    if (f_past_valid && !f_read)
      assume(rom_rdata == 32'h0);
    else if (f_past_valid && f_read_ad == f_address)
      assume(rom_rdata == f_word);
endmodule

`default_nettype wire
