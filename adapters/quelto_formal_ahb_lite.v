// SPDX-License-Identifier: ISC
// quelto_formal_ahb_lite: the rules of AHB-Lite between a manager, its
// interconnect and a ROM subordinate, for the AHB-Lite adapter's proof.
// Formal verification only (Yosys read_verilog -formal); the adapter
// instantiates it under `ifdef FORMAL.
//
// A transfer's address phase ends at an edge with HREADY high; it is the
// subordinate's when HSEL is high then, and a read or write when HTRANS
// is NONSEQ or SEQ.  Its data phase follows, and ends at the next edge
// with HREADY high.  The interconnect gives the subordinate its own
// HREADYOUT as HREADY during its data phase; at other times HREADY is
// anything, as other subordinates stretch their transfers.  Nothing else
// is assumed of the manager: the subordinate looks at the bus only at the
// edges that end an address phase.
//
// Asserted of the subordinate, with what a ROM adds: outside its own data
// phases, and for IDLE and BUSY, HREADYOUT high and HRESP OKAY; a read
// answered with no wait state, OKAY, with the word at its address
// (f_address holds f_word, as the quelto_formal_rom beside it chooses);
// a write answered with the two-cycle ERROR response; HRDATA 0 outside a
// read's data phase.
//
// Outputs, for the adapter's own assertions: the data phase in progress
// (f_data), whether it is a write's (f_write), and its address (f_addr).
//
// With FORMAL_NO_RESET defined, hresetn is never low: the proof then
// starts from the all-zero state of the adapter's registers.

`default_nettype none

module quelto_formal_ahb_lite (
  input  wire        hclk,
  input  wire        hresetn,
  input  wire        hsel,
  input  wire [31:0] haddr,
  input  wire [1:0]  htrans,
  input  wire        hwrite,
  input  wire        hready,
  input  wire        hreadyout,
  input  wire        hresp,
  input  wire [31:0] hrdata,
  input  wire [31:2] f_address,
  input  wire [31:0] f_word,

  output reg         f_data = 1'b0,
  output reg         f_write = 1'b0,
  output reg  [31:2] f_addr = 30'd0
);
  reg f_past_valid = 1'b0;
  always @(posedge hclk)
    f_past_valid <= 1'b1;

  // The data phase in progress: whether there is one of this
  // subordinate's, a write or a read, at which address, and how many
  // clocks it has lasted.
  reg [1:0] f_clocks = 2'd0;
  always @(posedge hclk)
    if (!hresetn) begin
      f_data <= 1'b0;
    end else if (hready) begin
      f_data   <= hsel && htrans[1];
      f_write  <= hwrite;
      f_addr   <= haddr[31:2];
      f_clocks <= 2'd0;
    end else if (f_clocks != 2'd3) begin
      f_clocks <= f_clocks + 2'd1;
    end

  // The manager and the interconnect.
`ifdef FORMAL_NO_RESET
  always @(*)
    assume(hresetn);
`else
  always @(*)
    if (!f_past_valid)
      assume(!hresetn);
`endif
  always @(*)
    if (f_data)
      assume(hready == hreadyout);

  // The subordinate.
  always @(posedge hclk) begin
    // Proven: HREADYOUT high and HRESP OKAY before the first clock edge,
    // in the clock after an edge in reset, and whenever no data phase of
    // the subordinate's is in progress, as for IDLE and BUSY.
    if (!f_past_valid || $past(!hresetn) || !f_data)
      assert(hreadyout && !hresp);
    // Proven: a read is answered in its first clock, OKAY, with the word
    // at its address.
    if (f_data && !f_write) begin
      assert(hreadyout && !hresp);
      if (f_addr == f_address)
        assert(hrdata == f_word);
    end
    // Proven: a write is answered ERROR in two clocks: HRESP high with
    // HREADYOUT low, then both high.
    if (f_data && f_write)
      assert(hresp && hreadyout == (f_clocks == 2'd1));
    // Proven: HRDATA is 0 outside a read's data phase.
    if (!f_data || f_write)
      assert(hrdata == 32'h0);
  end
endmodule

`default_nettype wire
