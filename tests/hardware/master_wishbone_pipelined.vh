// SPDX-License-Identifier: ISC
// The master of adapter_master.vh for pipelined Wishbone
// (ADAPTER_WISHBONE_PIPELINED): within a cycle, a request in each clock
// or after a pause, held while STALL is high; reads go in order of rows,
// and a write comes when no answer is owed.  At random the master drops
// CYC, with answers owed or not, and reads the abandoned rows again in a
// later cycle; no answer may come in a clock after an edge without CYC.

  reg         cyc = 0, stb = 0, we = 0;
  reg  [31:0] adr = 0;
  wire        stall, ack, err;

  quelto_wishbone_pipelined_adapter adapter (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(cyc), .wb_stb_i(stb),
    .wb_we_i(we), .wb_adr_i(adr), .wb_sel_i(4'hf), .wb_dat_i(wdata),
    .wb_dat_o(bus_rdata), .wb_ack_o(ack), .wb_err_o(err), .wb_stall_o(stall),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = ack;
  assign taken = cyc && stb && !stall;
  assign progress = ack || err;

  integer     next_row = 0;
  reg         running = 0, stalled = 0, cyc_before = 0;

  always @(posedge clk)
    if (running) begin
      if ((ack || err) && !cyc_before)
        adapter_mismatch("answer after an edge without CYC", {ack, err}, 0);
      else if ((ack || err) && cyc)
        take_answer(err && !ack, err);
      stalled = cyc && stb && stall;
      if (cyc && stb && !stall)
        owe(we, next_row - 1);
      cyc_before = cyc;
    end

  // Between edges: the stalled request again, or the next request, a
  // pause, or the end of the cycle.
  integer choice;
  always @(negedge clk)
    if (running && !stalled) begin
      choice = fastest ? 15 : $random & 15;
      stb = 0;
      we = 0;
      if (choice == 0 || next_row == rows_a && owing == 0) begin
        // The abandoned reads are read again in the next cycle.
        if (owing > 0 && owed[0] >= 0) begin
          abandoned = abandoned + next_row - owed[0];
          next_row = owed[0];
        end
        owing = 0;
        cyc = 0;
      end else if (choice < 4 || next_row == rows_a) begin
        cyc = 1;
      end else if (choice == 4 && owing == 0 && writes < next_row / 8) begin
        cyc = 1;
        stb = 1;
        we = 1;
        adr = $random;
        wdata = $random;
        writes = writes + 1;
      end else if (owing == 0 || owed[owing - 1] >= 0) begin
        cyc = 1;
        stb = 1;
        adr = row_address(next_row);
        next_row = next_row + 1;
        request_raised;
      end
    end

  task read_through_adapter;
    begin
      reads = 0;
      writes = 0;
      running = 1;
      wait (reads == rows_a);
      @(negedge clk) running = 0;
      cyc = 0;
      stb = 0;
    end
  endtask
