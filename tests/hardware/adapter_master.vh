// SPDX-License-Identifier: ISC
// The bus master of rom_bench.v for ROM A behind a bus adapter: included
// in the bench's module when ADAPTER_WISHBONE, ADAPTER_VALID_READY or
// ADAPTER_AXI4LITE is defined.  read_through_adapter reads every row of
// ROM A, in order, and writes after every eighth row; each answer is
// checked where it is taken.

  reg         rst = 1;
  reg  [31:0] wdata = 0;
  wire [31:0] bus_rdata;
  wire        answer;        // the adapter answers in this clock
  reg  [31:0] expected;
  integer     reads, writes;
  integer     idle_clocks = 0;
  integer     rom_reads = 0;

`ifdef ADAPTER_AXI4LITE
  reg         arvalid = 0, rready = 0, awvalid = 0, wvalid = 0, bready = 0;
  reg  [31:0] araddr = 0, awaddr = 0;
  wire        arready, rvalid, awready, wready, bvalid;
  wire [1:0]  rresp, bresp;

  quelto_axi4lite_adapter adapter (
    .aclk(clk), .aresetn(!rst),
    .s_axi_awaddr(awaddr), .s_axi_awprot(3'b000), .s_axi_awvalid(awvalid),
    .s_axi_awready(awready), .s_axi_wdata(wdata), .s_axi_wstrb(4'hf),
    .s_axi_wvalid(wvalid), .s_axi_wready(wready), .s_axi_bresp(bresp),
    .s_axi_bvalid(bvalid), .s_axi_bready(bready),
    .s_axi_araddr(araddr), .s_axi_arprot(3'b000), .s_axi_arvalid(arvalid),
    .s_axi_arready(arready), .s_axi_rdata(bus_rdata), .s_axi_rresp(rresp),
    .s_axi_rvalid(rvalid), .s_axi_rready(rready),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = rvalid;
  wire progress = rvalid && rready || bvalid && bready;
`else
  // Wishbone classic and the valid/ready interface work alike: a request
  // is held until the clock of its answer.
  reg         request = 0;
  reg         write = 0;
  reg  [31:0] address = 0;
  wire        error;
 `ifdef ADAPTER_WISHBONE
  wire        ack;
  quelto_wishbone_adapter adapter (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(request), .wb_stb_i(request),
    .wb_we_i(write), .wb_adr_i(address), .wb_sel_i(4'hf), .wb_dat_i(wdata),
    .wb_dat_o(bus_rdata), .wb_ack_o(ack), .wb_err_o(error),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = ack || error;
  localparam write_error = 1;  // a write to a ROM is an error
 `else
  quelto_valid_ready_adapter adapter (
    .clk(clk), .resetn(!rst), .mem_valid(request), .mem_addr(address),
    .mem_wdata(wdata), .mem_wstrb(write ? 4'hf : 4'h0), .mem_ready(answer),
    .mem_rdata(bus_rdata),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign error = 0;
  localparam write_error = 0;  // a write is acknowledged and ignored
 `endif
  wire progress = answer;
`endif

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
  // the data 0 without one; one read of the ROM for each read of the bus;
  // and an answer at least every 50 clocks.
  always @(posedge clk)
    if (!rst) begin
      if (answer !== 1'b1 && (answer !== 1'b0 || bus_rdata !== 0))
        adapter_mismatch("data without an answer", bus_rdata, 0);
      if (mem_sel && mem_rd)
        rom_reads = rom_reads + 1;
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

`ifdef ADAPTER_AXI4LITE
  // Three masters at once: addresses, half of them right after the one
  // before; R with RREADY low in a quarter of the clocks; and writes.
  integer gap, sent, answered;
  task read_through_adapter;
    fork
      begin
        for (sent = 0; sent < rows_a; sent = sent + 1) begin
          gap = $random & 7;
          if (gap < 4) begin
            arvalid = 0;
            repeat (gap) @(negedge clk);
          end
          araddr = row_address(sent);
          arvalid = 1;
          @(posedge clk);
          while (!arready)
            @(posedge clk);
          @(negedge clk);
        end
        arvalid = 0;
      end
      begin
        reads = 0;
        while (reads < rows_a) begin
          @(negedge clk) rready = ($random & 3) != 0;
          @(posedge clk);
          if (rvalid && rready) begin
            expected = word(0, size_a, reads);
            if (bus_rdata !== expected || rresp !== 2'b00)
              adapter_mismatch(rresp !== 2'b00 ? "RRESP of a read" : "read",
                               bus_rdata, expected);
            reads = reads + 1;
          end
        end
        @(negedge clk) rready = 0;
      end
      begin
        for (writes = 0; writes < rows_a / 8; writes = writes + 1) begin
          repeat ($random & 15) @(negedge clk);
          fork
            begin
              repeat ($random & 1) @(negedge clk);
              awaddr = $random;
              awvalid = 1;
              @(posedge clk);
              while (!awready)
                @(posedge clk);
              @(negedge clk) awvalid = 0;
            end
            begin
              repeat ($random & 1) @(negedge clk);
              wdata = $random;
              wvalid = 1;
              @(posedge clk);
              while (!wready)
                @(posedge clk);
              @(negedge clk) wvalid = 0;
            end
          join
          answered = 0;
          while (!answered) begin
            @(negedge clk) bready = $random;
            @(posedge clk) answered = bvalid && bready;
          end
          if (bresp !== 2'b10)
            adapter_mismatch("BRESP of a write", bresp, 2'b10);
          @(negedge clk) bready = 0;
        end
      end
    join
  endtask

`else
  // One transfer, after 0 to 3 idle clocks; the answer's data and error.
  reg [31:0] answer_data;
  reg        answer_error;
  task transfer(input is_write, input [31:0] at);
    begin
      repeat ($random & 3) begin
        request = 0;
        @(negedge clk);
      end
      request = 1;
      write = is_write;
      address = at;
      wdata = $random;
      @(posedge clk);
      while (answer !== 1'b1)
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
      expected = word(0, size_a, reads);
      if (answer_data !== expected || answer_error !== 0)
        adapter_mismatch(answer_error ? "error on a read" : "read",
                         answer_data, expected);
      if (reads % 8 == 7) begin
        transfer(1, $random);
        if (answer_data !== 0 || answer_error !== write_error)
          adapter_mismatch(write_error ? "no error on a write" : "write",
                           answer_data, 0);
      end
    end
  endtask
`endif
