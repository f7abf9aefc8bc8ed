// SPDX-License-Identifier: ISC
// The bus master of rom_bench.v for ROM A behind a bus adapter: included
// in the bench's module when ADAPTER is defined, with one of
// ADAPTER_WISHBONE, ADAPTER_VALID_READY, ADAPTER_AXI4LITE, ADAPTER_AXI4,
// ADAPTER_AHB_LITE, ADAPTER_OBI, ADAPTER_WISHBONE_PIPELINED and
// ADAPTER_WISHBONE_BURST, which includes that bus's master.  Each master
// has a task read_through_adapter that reads every row of ROM A, checking
// each answer where it is taken, with what its bus allows in between.
//
// With the plusarg +fastest the master makes no pause, no write and no
// back-pressure, as fast as its bus allows, and the bench prints a line
// "SPEED: W words in C clocks, first word after L clocks, latency N
// clocks": the clocks from the one in which the first request is raised
// to the edge that takes the last word, and to the edge that takes the
// first; and from the edge that takes the first request by its bus's
// rules (taken, which each master defines) to the edge that takes its
// word.

  reg         rst = 1;
  reg  [31:0] wdata = 0;
  wire [31:0] bus_rdata;
  wire        answer;        // a read's data is on bus_rdata in this clock
  wire        progress;      // the master takes an answer at this edge
  wire        taken;         // the adapter takes a request at this edge
  wire        r_stalled;     // an AXI master leaves an answer waiting
  reg  [31:0] expected;
  integer     reads, writes;
  integer     idle_clocks = 0;
  integer     rom_reads = 0;
  integer     abandoned = 0;     // reads whose answers the master dropped
  integer     stalls = 0;        // edges at which an answer waited
  reg         fastest = 0;
  time        first_request = 0, first_taken = 0, first_word = 0, last_word = 0;

  task adapter_mismatch(input [8 * 40 - 1:0] what, input [31:0] got,
                        input [31:0] want);
    begin
      failures = failures + 1;
      if (failures <= 10)
        $display("row 'h%0h, %0s through the adapter: gave %h, expected %h",
                 reads, what, got, want);
    end
  endtask

  // From the clock after the one edge of reset: every answer known, and
  // the data 0 without one; the ROM's reads counted; and an answer at
  // least every 50 clocks.
  always @(posedge clk)
    if (!rst) begin
      if (answer !== 1'b1 && (answer !== 1'b0 || bus_rdata !== 0))
        adapter_mismatch("data without an answer", bus_rdata, 0);
      if (mem_sel && mem_rd)
        rom_reads = rom_reads + 1;
      if (r_stalled === 1'b1)
        stalls = stalls + 1;
      if (taken === 1'b1 && first_taken == 0)
        first_taken = $time;
      idle_clocks = progress === 1'b1 ? 0 : idle_clocks + 1;
      if (idle_clocks > 50) begin
        $display("FAIL: no answer for 50 clocks");
        $finish;
      end
    end

  // The address of row `row` with random bits in 1:0 and above the table.
  function [31:0] row_address(input integer row);
    reg [31:0] noise;
    begin
      noise = $random;
      row_address = noise & ~(rows_a * 4 - 1) | row << 2 | noise & 3;
    end
  endfunction

  // The times of the first request (called in the clock that raises it),
  // and of the edges that take words.
  task request_raised;
    if (first_request == 0)
      first_request = $time;
  endtask
  task word_taken;
    begin
      if (first_word == 0)
        first_word = $time;
      last_word = $time;
    end
  endtask

  // Checks a read's word, taken at this edge, against row `row`.
  task check_read(input integer row, input [31:0] got, input error);
    begin
      expected = word(0, size_a, row);
      if (got !== expected || error !== 1'b0)
        adapter_mismatch(error ? "error on a read" : "read", got, expected);
      word_taken;
    end
  endtask

  // The answers owed on a bus that answers its requests in order, oldest
  // first: the row read, or -1 for a write.  owe notes a request taken;
  // take_answer checks the answer taken at this edge against the oldest,
  // a write's by write_answered, a read's by its word and error.
  integer     owed [0:3];
  integer     owing = 0, owed_i;
  task owe(input is_write, input integer row);
    begin
      owed[owing] = is_write ? -1 : row;
      owing = owing + 1;
    end
  endtask
  task take_answer(input write_answered, input error);
    if (owing == 0) begin
      adapter_mismatch("answer with none owed", error, 0);
    end else begin
      if (owed[0] < 0) begin
        if (!write_answered)
          adapter_mismatch("answer to a write", error, 1);
      end else begin
        check_read(owed[0], bus_rdata, error);
        reads = reads + 1;
      end
      for (owed_i = 0; owed_i < 3; owed_i = owed_i + 1)
        owed[owed_i] = owed[owed_i + 1];
      owing = owing - 1;
    end
  endtask

`ifdef ADAPTER_AXI4LITE
 `include "master_axi4lite.vh"
`elsif ADAPTER_AXI4
 `include "master_axi4.vh"
`elsif ADAPTER_AHB_LITE
 `include "master_ahb_lite.vh"
`elsif ADAPTER_OBI
 `include "master_obi.vh"
`elsif ADAPTER_WISHBONE_PIPELINED
 `include "master_wishbone_pipelined.vh"
`elsif ADAPTER_WISHBONE_BURST
 `include "master_wishbone_burst.vh"
`else
 `include "master_request.vh"
`endif

  // After read_through_adapter: the ROM read once for each read (the
  // burst adapter reads ahead, by design; the AXI adapters read a word
  // again at an edge at which an older answer waits, so once more at
  // most for each), and the speed.
  task adapter_done;
    begin
`ifndef ADAPTER_WISHBONE_BURST
 `ifndef READS_AGAIN
      stalls = 0;
 `endif
      if (rom_reads < reads + abandoned || rom_reads > reads + abandoned + stalls) begin
        $display("the ROM was read %0d times for %0d reads and %0d abandoned, with %0d stalls",
                 rom_reads, reads, abandoned, stalls);
        failures = failures + 1;
      end
`endif
      if (fastest)
        $display("SPEED: %0d words in %0d clocks, first word after %0d clocks, latency %0d clocks",
                 reads, (last_word - first_request + 5) / 10,
                 (first_word - first_request + 5) / 10,
                 (first_word - first_taken) / 10);
    end
  endtask
