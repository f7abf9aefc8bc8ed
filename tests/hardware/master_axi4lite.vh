// SPDX-License-Identifier: ISC
// The master of adapter_master.vh for AXI4-Lite (ADAPTER_AXI4LITE): three
// masters at once, as an interconnect has them: addresses, half of them
// right after the one before; R with RREADY low in a quarter of the
// clocks; and writes, address and data each a clock late at random.

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
  assign taken = arvalid && arready;
  assign progress = rvalid && rready || bvalid && bready;
  // The adapter reads a word again while an older one waits on R.
  assign r_stalled = rvalid && !rready;
`define READS_AGAIN

  integer gap, sent, answered;
  task read_through_adapter;
    fork
      begin
        for (sent = 0; sent < rows_a; sent = sent + 1) begin
          gap = fastest ? 4 : $random & 7;
          if (gap < 4) begin
            arvalid = 0;
            repeat (gap) @(negedge clk);
          end
          araddr = row_address(sent);
          arvalid = 1;
          request_raised;
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
          @(negedge clk) rready = fastest || ($random & 3) != 0;
          @(posedge clk);
          if (rvalid && rready) begin
            if (rresp !== 2'b00)
              adapter_mismatch("RRESP of a read", rresp, 2'b00);
            check_read(reads, bus_rdata, 1'b0);
            reads = reads + 1;
          end
        end
        @(negedge clk) rready = 0;
      end
      begin
        for (writes = 0; writes < rows_a / 8 && !fastest; writes = writes + 1) begin
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
