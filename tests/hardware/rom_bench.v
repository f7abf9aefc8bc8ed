// SPDX-License-Identifier: ISC
// Reads every row of one or two generated ROM modules over their bus and
// checks each word against the image the module was generated from.
//
// Macros: ROM_A, and optionally ROM_B, the module names.
// Plusargs: +image_a=FILE (and +image_b=FILE), the image as raw bytes;
// +rom_rows=N, optional, the rows of ROM A's table: an image that needs
// more fails at once, with both sizes, before any row is read.
//
// Both ROMs hang on the same bus.  Each ignores the address bits above its
// table, so a ROM with the smaller table serves the row index modulo its
// own row count; the bench checks exactly that.  Reads alternate with
// cycles in which mem_sel or mem_rd is low, after which the data must be 0.
//
// With ADAPTER defined, and the adapter's own macro (see
// adapter_master.vh), ROM A sits behind that bus adapter instead, and the
// bench is its bus master: it reads every row through it, with what the
// bus allows between reads: idle clocks, back-pressure, other transfers,
// writes, for which it expects the bus's answer to a write to a ROM.  The
// adapter's reset is held for one clock edge only; from then on its data
// output must be 0, never unknown, whenever it gives no answer.
//
// The last line printed is "PASS ..." or "FAIL ...".

`timescale 1ns/100ps

module rom_bench;
  localparam image_capacity = 'h10200;

  reg         clk = 0;
`ifdef ADAPTER
  wire [31:0] mem_ad;
  wire        mem_sel;
  wire        mem_rd;
`else
  reg  [31:0] mem_ad = 0;
  reg         mem_sel = 0;
  reg         mem_rd = 0;
`endif
  wire [31:0] rdata_a;
  wire [31:0] rdata_b;

  // Image A is stored from 0, image B from image_capacity.
  reg  [7:0]  image [0:2 * image_capacity - 1];
  integer     size_a, size_b, rows_a, rows_b, rom_rows;

  `ROM_A rom_a (.mem_rdata(rdata_a), .clk(clk), .mem_ad(mem_ad),
                .mem_sel(mem_sel), .mem_rd(mem_rd));
`ifdef ROM_B
  `ROM_B rom_b (.mem_rdata(rdata_b), .clk(clk), .mem_ad(mem_ad),
                .mem_sel(mem_sel), .mem_rd(mem_rd));
`else
  assign rdata_b = 0;
`endif

  always #5 clk = ~clk;

  // Loads the image file named by a plusarg at `start`; gives its size in
  // bytes, 0 without the plusarg.
  task load_image(input [8 * 16 - 1:0] plusarg, input integer start,
                  output integer size);
    reg [8 * 1024 - 1:0] name;
    integer file;
    begin
      size = 0;
      if ($value$plusargs(plusarg, name)) begin
        file = $fopen(name, "rb");
        if (file == 0) begin
          $display("FAIL: cannot open %0s", name);
          $finish;
        end
        size = $fread(image, file, start, image_capacity);
        $fclose(file);
      end
    end
  endtask

  // Rows of the case table for an image of `size` bytes: one for a single
  // word, else the smallest power of two strictly above the aligned size,
  // in words.
  function integer row_count(input integer size);
    integer aligned;
    begin
      aligned = (size + 3) / 4 * 4;
      row_count = 1;
      if (aligned != 4)
        while (row_count * 4 <= aligned)
          row_count = row_count * 2;
    end
  endfunction

  // Word `index` of the image stored at `start`, little-endian; 0 past
  // the image's `size` bytes.
  function [31:0] word(input integer start, input integer size,
                       input integer index);
    integer i;
    begin
      word = 0;
      for (i = index * 4 + 3; i >= index * 4; i = i - 1)
        word = word << 8 | {24'h0, i < size ? image[start + i] : 8'h00};
    end
  endfunction

  integer row, rows, failures;
  reg [31:0] expected_a, expected_b, noise;

  // Counts a wrong word and prints the first ten, each with the row, the
  // bus and the ROM instance: the address of a read, or the strobes of a
  // cycle without one, after which the data must be 0.
  task mismatch(input [8 * 5 - 1:0] rom, input [31:0] read,
                input [31:0] expected);
    begin
      failures = failures + 1;
      if (failures <= 10) begin
        if (mem_sel && mem_rd)
          $display("row 'h%0h, read at mem_ad %h: %0s gave %h, expected %h",
                   row, mem_ad, rom, read, expected);
        else
          $display("row 'h%0h, no read (mem_sel %b, mem_rd %b): %0s gave %h, expected %h",
                   row, mem_sel, mem_rd, rom, read, expected);
      end
    end
  endtask

`ifdef ADAPTER
 `include "adapter_master.vh"
`endif

  initial begin
    failures = 0;
    load_image("image_a=%s", 0, size_a);
    load_image("image_b=%s", image_capacity, size_b);
    rows_a = row_count(size_a);
    rows_b = row_count(size_b);
    rows = rows_a > rows_b ? rows_a : rows_b;
    if (size_a == 0) begin
      $display("FAIL: no image");
      $finish;
    end
    if ($value$plusargs("rom_rows=%d", rom_rows) && rows_a > rom_rows) begin
      $display("FAIL: the image has %0d bytes, for a table of %0d rows; the ROM's table has %0d rows (%0d bytes)",
               size_a, rows_a, rom_rows, rom_rows * 4);
      $finish;
    end

    @(negedge clk);
`ifdef ADAPTER
    fastest = $test$plusargs("fastest");
    rst = 0;
    // Measured in a steady state, not as the adapter leaves reset.
    if (fastest)
      repeat (2) @(negedge clk);
    read_through_adapter;
    adapter_done;
`else
    for (row = 0; row < rows; row = row + 1) begin
      // A read: the row's index in bits above 1, noise in bits 1:0 and
      // above the larger table.
      noise = $random;
      mem_ad = noise & ~(rows * 4 - 1) | row << 2 | noise & 3;
      mem_sel = 1;
      mem_rd = 1;
      @(negedge clk);
      expected_a = word(0, size_a, {2'b00, mem_ad[31:2]} % rows_a);
      expected_b = word(image_capacity, size_b, {2'b00, mem_ad[31:2]} % rows_b);
      if (rdata_a !== expected_a)
        mismatch("rom_a", rdata_a, expected_a);
      if (rdata_b !== expected_b)
        mismatch("rom_b", rdata_b, expected_b);

      // No read: mem_sel or mem_rd low at the edge, a new address.
      mem_ad = $random;
      mem_sel = row[0];
      mem_rd = !mem_sel;
      @(negedge clk);
      if (rdata_a !== 0)
        mismatch("rom_a", rdata_a, 0);
      if (rdata_b !== 0)
        mismatch("rom_b", rdata_b, 0);
      mem_sel = 0;
      mem_rd = 0;
    end
`endif

    if (failures == 0)
`ifdef ADAPTER
      $display("PASS: %0d words read through the adapter", reads);
`else
      $display("PASS: %0d rows read", rows);
`endif
    else
      $display("FAIL: %0d mismatches", failures);
    $finish;
  end
endmodule
