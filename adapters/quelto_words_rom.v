// SPDX-License-Identifier: ISC
// quelto_words_rom: the ROM module that quelto writes, with its words
// loaded from a file at the start of simulation instead of written into
// its source, so that a simulation model is built once and then runs any
// firmware with a table of its size, and a large table builds in seconds.
//
// ROWS is the number of rows of quelto's table for the firmware, and
// WORDS a file of ROWS words, one a line in hex: `quelto-words ROWS <
// firmware.srec > firmware.hex` writes it, and `quelto-words <
// firmware.srec | wc -l` gives the ROWS of quelto's own table.  At time 0
// the module loads WORDS with $readmemh, or the file that the plusarg
// +quelto_words=FILE names, when the simulation is given one (every
// instance then loads that file).  Synthesis takes WORDS.
//
// Ports, widths and timing are those of quelto's module: at a rising edge
// of clk with mem_sel and mem_rd high, the word of the row that mem_ad
// gives is on mem_rdata until the next edge; after an edge without a read
// mem_rdata is 0.  Only mem_ad[log2(ROWS) + 1:2] count, as in quelto's
// table of ROWS rows, and none for ROWS = 1, its single-word form; before
// the first edge mem_rdata is unknown, as there.

`default_nettype none

module quelto_words_rom #(
  parameter ROWS  = 1024,
  parameter WORDS = "words.hex"
) (mem_rdata, clk, mem_ad, mem_sel, mem_rd);
  input  wire        clk;
  // Bits 1:0, and those above the table, are ignored by design.
  /* verilator lint_off UNUSEDSIGNAL */
  input  wire [31:0] mem_ad;
  /* verilator lint_on UNUSEDSIGNAL */
  input  wire        mem_sel;
  input  wire        mem_rd;
  output wire [31:0] mem_rdata;

  reg [31:0] words [0:ROWS - 1];
  reg        m_rd;

`ifdef SYNTHESIS
  initial $readmemh(WORDS, words);
`else
  reg [8 * 1024 - 1:0] words_file;
  initial begin
    if ((ROWS & (ROWS - 1)) != 0) begin
      $display("quelto_words_rom: ROWS is %0d, not a power of two", ROWS);
      $finish;
    end
    if ($value$plusargs("quelto_words=%s", words_file))
      $readmemh(words_file, words);
    else
      $readmemh(WORDS, words);
  end
`endif

  always @(posedge clk)
    m_rd <= mem_sel && mem_rd;

  generate
    if (ROWS == 1) begin : single_word
      assign mem_rdata = m_rd ? words[0] : 32'h0;
    end else begin : case_table
      // The row address is registered and the word read from it, as in
      // quelto's table, which the FPGA tools map to block RAM alike.
      reg [$clog2(ROWS) + 1:2] m_ad;
      always @(posedge clk)
        if (mem_sel && mem_rd)
          m_ad <= mem_ad[$clog2(ROWS) + 1:2];
      assign mem_rdata = m_rd ? words[m_ad] : 32'h0;
    end
  endgenerate
endmodule

`default_nettype wire
