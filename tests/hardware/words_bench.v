// SPDX-License-Identifier: ISC
// Reads a ROM with the ports of quelto's module clock by clock, under
// random reads and idle edges, and checks every answer against a word
// file: after an edge with mem_sel and mem_rd high, the word of the row
// that mem_ad's bits above 1 give, modulo ROWS; after any other edge, 0.
// Every row is read, in order, between reads of random rows; each read
// has random bits in mem_ad below the row and above the table, and idle
// edges come with a random address, one strobe or none.
//
// Macros: ROM_A, the module under test; ROWS, the rows of its table.  With
// WORDS_ROM, quelto_words_rom with the same ROWS sits beside it on the
// bus, loading the same word file, and must give the same answer in
// every clock.
// Plusargs: +quelto_words=FILE, the word file, ROWS lines of hex words.
//
// The last line printed is "PASS ..." or "FAIL ...".

`timescale 1ns/100ps

module words_bench;
  reg         clk = 0;
  reg  [31:0] mem_ad = 0;
  reg         mem_sel = 0;
  reg         mem_rd = 0;
  wire [31:0] rdata_a;
  wire [31:0] rdata_b;

  reg  [31:0] words [0:`ROWS - 1];
  reg  [8 * 1024 - 1:0] file;

  `ROM_A rom_a (.mem_rdata(rdata_a), .clk(clk), .mem_ad(mem_ad),
                .mem_sel(mem_sel), .mem_rd(mem_rd));
`ifdef WORDS_ROM
  quelto_words_rom #(.ROWS(`ROWS)) rom_b (.mem_rdata(rdata_b), .clk(clk),
                .mem_ad(mem_ad), .mem_sel(mem_sel), .mem_rd(mem_rd));
`else
  assign rdata_b = rdata_a;
`endif

  always #5 clk = ~clk;

  integer row, next_row, reads, idles, failures, i;
  reg [31:0] expected, noise;

  task check;
    begin
      if (rdata_a !== expected || rdata_b !== rdata_a) begin
        failures = failures + 1;
        if (failures <= 10)
          $display("row 'h%0h, mem_ad %h, mem_sel %b, mem_rd %b: %h and %h, expected %h",
                   row, mem_ad, mem_sel, mem_rd, rdata_a, rdata_b, expected);
      end
    end
  endtask

  initial begin
    if (!$value$plusargs("quelto_words=%s", file)) begin
      $display("FAIL: no +quelto_words=FILE");
      $finish;
    end
    for (i = 0; i < `ROWS; i = i + 1)
      words[i] = 32'bx;
    $readmemh(file, words);
    for (i = 0; i < `ROWS; i = i + 1)
      if (^words[i] === 1'bx) begin
        $display("FAIL: %0s has no word for row %0d of %0d", file, i, `ROWS);
        $finish;
      end

    failures = 0;
    reads = 0;
    idles = 0;
    next_row = 0;
    row = 0;
    @(negedge clk);
    while (next_row < `ROWS) begin
      noise = $random;
      if (noise[31:30] != 0) begin
        // A read: the next row in order, or now and then any row.
        row = noise[29:27] != 0 ? next_row : {$random} % `ROWS;
        if (noise[29:27] != 0)
          next_row = next_row + 1;
        mem_ad = $random & ~(`ROWS * 4 - 1) | row << 2 | noise & 3;
        mem_sel = 1;
        mem_rd = 1;
        expected = words[row];
        reads = reads + 1;
      end else begin
        mem_ad = $random;
        mem_sel = noise[0];
        mem_rd = noise[1] && !noise[0];
        expected = 0;
        idles = idles + 1;
      end
      @(negedge clk);
      check;
    end

    if (failures == 0)
      $display("PASS: %0d rows, %0d reads, %0d idle edges", `ROWS, reads, idles);
    else
      $display("FAIL: %0d mismatches in %0d reads and %0d idle edges",
               failures, reads, idles);
    $finish;
  end
endmodule
