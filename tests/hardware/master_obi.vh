// SPDX-License-Identifier: ISC
// The master of adapter_master.vh for OBI (ADAPTER_OBI), as Ibex drives
// it: a request waits for its grant, and then, at random, the next comes
// at once or after a pause; reads go in order of rows, and a write
// follows every eighth.  Each answer is checked in the clock of its
// rvalid against the oldest owed.

  reg         req = 0, we = 0;
  reg  [31:0] addr = 0;
  wire        gnt, rvalid, err;

  quelto_obi_adapter adapter (
    .clk_i(clk), .rst_ni(!rst), .req_i(req), .gnt_o(gnt), .addr_i(addr),
    .we_i(we), .be_i(4'hf), .wdata_i(wdata), .rvalid_o(rvalid),
    .rdata_o(bus_rdata), .err_o(err),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = rvalid && !err;
  assign taken = req && gnt;
  assign progress = rvalid;

  integer     next_row = 0;
  reg         running = 0, granted = 0;

  always @(posedge clk)
    if (running) begin
      if (rvalid)
        take_answer(err === 1'b1 && bus_rdata === 0, err);
      granted = req && gnt;
      if (granted)
        owe(we, next_row - 1);
    end

  // Between edges: a new request once the last was granted, or none.
  always @(negedge clk)
    if (running && (granted || !req)) begin
      req = next_row < rows_a && (fastest || ($random & 3) != 0);
      we = req && !fastest && next_row % 8 == 0 && writes < next_row / 8;
      if (we) begin
        addr = $random;
        wdata = $random;
        writes = writes + 1;
      end else if (req) begin
        addr = row_address(next_row);
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
    end
  endtask
