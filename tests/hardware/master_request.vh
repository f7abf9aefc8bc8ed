// SPDX-License-Identifier: ISC
// The master of adapter_master.vh for Wishbone classic (ADAPTER_WISHBONE)
// and the valid/ready interface (ADAPTER_VALID_READY), which work alike:
// a request is held until the clock of its answer.  The Wishbone master
// drives CYC and STB together, as SERV does.  Reads go in order of rows,
// after 0 to 3 idle clocks, and a write follows every eighth.

  reg         request = 0;
  reg         write = 0;
  reg  [31:0] address = 0;
  wire        error;
`ifdef ADAPTER_WISHBONE
  wire        ack;
  // With ACK_WRITES, the adapter acknowledges writes, for a master that
  // has no ERR input.
`ifdef ACK_WRITES
  localparam ack_writes = 1;
`else
  localparam ack_writes = 0;
`endif
  quelto_wishbone_adapter #(.ACK_WRITES(ack_writes)) adapter (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(request), .wb_stb_i(request),
    .wb_we_i(write), .wb_adr_i(address), .wb_sel_i(4'hf), .wb_dat_i(wdata),
    .wb_dat_o(bus_rdata), .wb_ack_o(ack), .wb_err_o(error),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = ack;
  assign taken = request;
  assign progress = ack || error;
  localparam write_error = !ack_writes;  // a write to a ROM is an error
`else
  wire        ready;
  quelto_valid_ready_adapter adapter (
    .clk(clk), .resetn(!rst), .mem_valid(request), .mem_addr(address),
    .mem_wdata(wdata), .mem_wstrb(write ? 4'hf : 4'h0), .mem_ready(ready),
    .mem_rdata(bus_rdata),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = ready && !write;
  assign taken = request;
  assign progress = ready;
  assign error = 0;
  localparam write_error = 0;  // a write is acknowledged and ignored
`endif

  // One transfer, after 0 to 3 idle clocks; the answer's data and error.
  reg [31:0] answer_data;
  reg        answer_error;
  task transfer(input is_write, input [31:0] at);
    begin
      repeat (fastest ? 0 : $random & 3) begin
        request = 0;
        @(negedge clk);
      end
      request = 1;
      write = is_write;
      address = at;
      wdata = $random;
      request_raised;
      @(posedge clk);
      while (progress !== 1'b1)
        @(posedge clk);
      answer_data = bus_rdata;
      answer_error = error;
      @(negedge clk);
      request = 0;
    end
  endtask

  task read_through_adapter;
    for (reads = 0; reads < rows_a; reads = reads + 1) begin
      transfer(0, row_address(reads));
      check_read(reads, answer_data, answer_error);
      if (reads % 8 == 7 && !fastest) begin
        transfer(1, $random);
        if (answer_data !== 0 || answer_error !== write_error)
          adapter_mismatch(write_error ? "no error on a write" : "write",
                           answer_data, 0);
      end
    end
  endtask
