// SPDX-License-Identifier: ISC
// The simulation that the guide's timing diagrams are drawn from: the
// example's ROM, boot_rom, read on its own bus or through one bus adapter
// (+diagram=NAME: module, wishbone, valid_ready, axi4lite, axi4, ahb_lite,
// obi, wishbone_pipelined or wishbone_burst).  The masters change their
// outputs 1 ns after a rising edge, as registers do.  After one clock edge
// in reset, +vcd=FILE gets a trace of the next clocks.

`timescale 1ns/100ps

module timing_bench;
  reg clk = 0;
  reg rst = 1;
  always #5 clk = ~clk;

  localparam [31:0] base = 32'h80000000;

  // The module's own bus: reads at edges 2, 4 and 5.
  reg  [31:0] mem_ad = 'bx;
  reg         mem_sel = 0;
  reg         mem_rd = 0;
  wire [31:0] mem_rdata;
  boot_rom rom (.clk(clk), .mem_ad(mem_ad), .mem_sel(mem_sel), .mem_rd(mem_rd),
                .mem_rdata(mem_rdata));

  task module_reads;
    begin
      mem_ad = base; mem_sel = 1; mem_rd = 1;
      @(posedge clk) #1 mem_sel = 0; mem_rd = 0; mem_ad = 'bx;
      @(posedge clk) #1 mem_ad = base + 4; mem_sel = 1; mem_rd = 1;
      @(posedge clk) #1 mem_ad = base + 8;
      @(posedge clk) #1 mem_sel = 0; mem_rd = 0; mem_ad = 'bx;
    end
  endtask

  // Wishbone classic: a read, then a write.
  reg         wb_cyc = 0;
  reg         wb_we = 1'bx;
  reg  [31:0] wb_adr = 'bx;
  wire [31:0] wb_rom_ad, wb_rom_rdata, wb_dat;
  wire        wb_rom_sel, wb_rom_rd, wb_ack, wb_err;
  quelto_wishbone_adapter wishbone (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(wb_cyc), .wb_stb_i(wb_cyc),
    .wb_we_i(wb_we), .wb_adr_i(wb_adr), .wb_sel_i(4'hf), .wb_dat_i(32'h0),
    .wb_dat_o(wb_dat), .wb_ack_o(wb_ack), .wb_err_o(wb_err),
    .rom_ad(wb_rom_ad), .rom_sel(wb_rom_sel), .rom_rd(wb_rom_rd),
    .rom_rdata(wb_rom_rdata));
  boot_rom wb_rom (.clk(clk), .mem_ad(wb_rom_ad), .mem_sel(wb_rom_sel),
                   .mem_rd(wb_rom_rd), .mem_rdata(wb_rom_rdata));

  // A request held until the edge that sees its answer.
  task wishbone_request(input write, input [31:0] address);
    begin
      wb_cyc = 1; wb_we = write; wb_adr = address;
      @(posedge clk);
      while (!wb_ack && !wb_err)
        @(posedge clk);
      #1 wb_cyc = 0; wb_we = 'bx; wb_adr = 'bx;
    end
  endtask

  // valid/ready: a read, then a write.
  reg         mem_valid = 0;
  reg  [31:0] mem_addr = 'bx;
  reg  [3:0]  mem_wstrb = 'bx;
  wire [31:0] vr_rom_ad, vr_rom_rdata, vr_rdata;
  wire        vr_rom_sel, vr_rom_rd, mem_ready;
  quelto_valid_ready_adapter valid_ready (
    .clk(clk), .resetn(!rst), .mem_valid(mem_valid), .mem_addr(mem_addr),
    .mem_wdata(32'h0), .mem_wstrb(mem_wstrb), .mem_ready(mem_ready),
    .mem_rdata(vr_rdata),
    .rom_ad(vr_rom_ad), .rom_sel(vr_rom_sel), .rom_rd(vr_rom_rd),
    .rom_rdata(vr_rom_rdata));
  boot_rom vr_rom (.clk(clk), .mem_ad(vr_rom_ad), .mem_sel(vr_rom_sel),
                   .mem_rd(vr_rom_rd), .mem_rdata(vr_rom_rdata));

  task valid_ready_request(input [3:0] wstrb, input [31:0] address);
    begin
      mem_valid = 1; mem_wstrb = wstrb; mem_addr = address;
      @(posedge clk);
      while (!mem_ready)
        @(posedge clk);
      #1 mem_valid = 0; mem_wstrb = 'bx; mem_addr = 'bx;
    end
  endtask

  // AXI4-Lite: three reads back to back, the second one held up by R.
  reg         arvalid = 0, rready = 0;
  reg  [31:0] araddr = 'bx;
  wire [31:0] ax_rom_ad, ax_rom_rdata, rdata;
  wire        ax_rom_sel, ax_rom_rd, arready, rvalid, awready, wready, bvalid;
  wire [1:0]  rresp, bresp;
  quelto_axi4lite_adapter axi4lite (
    .aclk(clk), .aresetn(!rst),
    .s_axi_awaddr(32'h0), .s_axi_awprot(3'b000), .s_axi_awvalid(1'b0),
    .s_axi_awready(awready), .s_axi_wdata(32'h0), .s_axi_wstrb(4'h0),
    .s_axi_wvalid(1'b0), .s_axi_wready(wready), .s_axi_bresp(bresp),
    .s_axi_bvalid(bvalid), .s_axi_bready(1'b0),
    .s_axi_araddr(araddr), .s_axi_arprot(3'b000), .s_axi_arvalid(arvalid),
    .s_axi_arready(arready), .s_axi_rdata(rdata), .s_axi_rresp(rresp),
    .s_axi_rvalid(rvalid), .s_axi_rready(rready),
    .rom_ad(ax_rom_ad), .rom_sel(ax_rom_sel), .rom_rd(ax_rom_rd),
    .rom_rdata(ax_rom_rdata));
  boot_rom ax_rom (.clk(clk), .mem_ad(ax_rom_ad), .mem_sel(ax_rom_sel),
                   .mem_rd(ax_rom_rd), .mem_rdata(ax_rom_rdata));

  task axi4lite_read(input [31:0] address);
    begin
      arvalid = 1; araddr = address;
      @(posedge clk);
      while (!arready)
        @(posedge clk);
      #1 arvalid = 0; araddr = 'bx;
    end
  endtask

  task axi4lite_reads;
    fork
      begin
        axi4lite_read(base);
        axi4lite_read(base + 4);
        axi4lite_read(base + 8);
      end
      begin
        // R: ready, but for one clock in which the second word waits.
        rready = 1;
        @(posedge clk) @(posedge clk) @(posedge clk) #1 rready = 0;
        @(posedge clk) #1 rready = 1;
        // Until the last word is taken.
        @(posedge clk);
        while (rvalid)
          @(posedge clk);
      end
    join
  endtask

  // AXI4: a WRAP burst of four beats from the third word, and an INCR
  // burst of two right after it, with other IDs.
  reg         a4_arvalid = 0;
  reg  [31:0] a4_araddr = 'bx;
  reg  [7:0]  a4_arlen = 'bx;
  reg  [1:0]  a4_arburst = 'bx;
  reg  [3:0]  a4_arid = 'bx;
  wire [31:0] a4_rom_ad, a4_rom_rdata, a4_rdata;
  wire        a4_rom_sel, a4_rom_rd, a4_arready, a4_rvalid, a4_rlast;
  wire        a4_awready, a4_wready, a4_bvalid;
  wire [3:0]  a4_rid, a4_bid;
  wire [1:0]  a4_rresp, a4_bresp;
  quelto_axi4_adapter axi4 (
    .aclk(clk), .aresetn(!rst),
    .s_axi_arid(a4_arid), .s_axi_araddr(a4_araddr), .s_axi_arlen(a4_arlen),
    .s_axi_arsize(3'd2), .s_axi_arburst(a4_arburst), .s_axi_arlock(1'b0),
    .s_axi_arcache(4'b0011), .s_axi_arprot(3'b000), .s_axi_arqos(4'h0),
    .s_axi_arvalid(a4_arvalid), .s_axi_arready(a4_arready),
    .s_axi_rid(a4_rid), .s_axi_rdata(a4_rdata), .s_axi_rresp(a4_rresp),
    .s_axi_rlast(a4_rlast), .s_axi_rvalid(a4_rvalid), .s_axi_rready(1'b1),
    .s_axi_awid(4'h0), .s_axi_awaddr(32'h0), .s_axi_awlen(8'd0),
    .s_axi_awsize(3'd2), .s_axi_awburst(2'b01), .s_axi_awlock(1'b0),
    .s_axi_awcache(4'h0), .s_axi_awprot(3'b000), .s_axi_awqos(4'h0),
    .s_axi_awvalid(1'b0), .s_axi_awready(a4_awready),
    .s_axi_wdata(32'h0), .s_axi_wstrb(4'h0), .s_axi_wlast(1'b0),
    .s_axi_wvalid(1'b0), .s_axi_wready(a4_wready),
    .s_axi_bid(a4_bid), .s_axi_bresp(a4_bresp), .s_axi_bvalid(a4_bvalid),
    .s_axi_bready(1'b0),
    .rom_ad(a4_rom_ad), .rom_sel(a4_rom_sel), .rom_rd(a4_rom_rd),
    .rom_rdata(a4_rom_rdata));
  boot_rom a4_rom (.clk(clk), .mem_ad(a4_rom_ad), .mem_sel(a4_rom_sel),
                   .mem_rd(a4_rom_rd), .mem_rdata(a4_rom_rdata));

  task axi4_address(input [3:0] id, input [31:0] address, input [7:0] len,
                    input [1:0] burst);
    begin
      a4_arvalid = 1; a4_arid = id; a4_araddr = address; a4_arlen = len;
      a4_arburst = burst;
      @(posedge clk);
      while (!a4_arready)
        @(posedge clk);
      #1 a4_arvalid = 0; a4_arid = 'bx; a4_araddr = 'bx; a4_arlen = 'bx;
      a4_arburst = 'bx;
    end
  endtask

  task axi4_bursts;
    begin
      axi4_address(4'h3, base + 8, 8'd3, 2'b10);
      axi4_address(4'h5, base + 16, 8'd1, 2'b01);
      @(posedge clk);
      while (a4_rvalid)
        @(posedge clk);
    end
  endtask

  // AHB-Lite: a read burst of four words, then a write, with HREADY the
  // adapter's HREADYOUT, as on a bus with one subordinate.
  reg         hsel = 0, hwrite = 1'bx;
  reg  [1:0]  htrans = 2'b00;
  reg  [31:0] haddr = 'bx;
  wire [31:0] ahb_rom_ad, ahb_rom_rdata, hrdata;
  wire        ahb_rom_sel, ahb_rom_rd, hreadyout, hresp;
  wire        hready = hreadyout;
  quelto_ahb_lite_adapter ahb_lite (
    .hclk(clk), .hresetn(!rst), .hsel(hsel), .haddr(haddr), .htrans(htrans),
    .hwrite(hwrite), .hsize(3'b010), .hburst(3'b011), .hprot(4'b0011),
    .hmastlock(1'b0), .hwdata(32'h0), .hready(hready),
    .hreadyout(hreadyout), .hresp(hresp), .hrdata(hrdata),
    .rom_ad(ahb_rom_ad), .rom_sel(ahb_rom_sel), .rom_rd(ahb_rom_rd),
    .rom_rdata(ahb_rom_rdata));
  boot_rom ahb_rom (.clk(clk), .mem_ad(ahb_rom_ad), .mem_sel(ahb_rom_sel),
                    .mem_rd(ahb_rom_rd), .mem_rdata(ahb_rom_rdata));

  // An address phase, held until an edge with HREADY high ends it.
  task ahb_address(input [1:0] trans, input write, input [31:0] address);
    begin
      hsel = 1; htrans = trans; hwrite = write; haddr = address;
      @(posedge clk);
      while (!hready)
        @(posedge clk);
      #1 hsel = 0; htrans = 2'b00; hwrite = 'bx; haddr = 'bx;
    end
  endtask

  task ahb_lite_transfers;
    begin
      ahb_address(2'b10, 0, base);
      ahb_address(2'b11, 0, base + 4);
      ahb_address(2'b11, 0, base + 8);
      ahb_address(2'b11, 0, base + 12);
      ahb_address(2'b10, 1, base + 16);
      // The manager is idle while the write's ERROR response runs.
      repeat (2) @(posedge clk);
    end
  endtask

  // OBI: three reads back to back, then a write.
  reg         req = 0, we = 1'bx;
  reg  [31:0] addr = 'bx;
  wire [31:0] obi_rom_ad, obi_rom_rdata, obi_rdata;
  wire        obi_rom_sel, obi_rom_rd, gnt, obi_rvalid, obi_err;
  quelto_obi_adapter obi (
    .clk_i(clk), .rst_ni(!rst), .req_i(req), .gnt_o(gnt), .addr_i(addr),
    .we_i(we), .be_i(4'hf), .wdata_i(32'h0), .rvalid_o(obi_rvalid),
    .rdata_o(obi_rdata), .err_o(obi_err),
    .rom_ad(obi_rom_ad), .rom_sel(obi_rom_sel), .rom_rd(obi_rom_rd),
    .rom_rdata(obi_rom_rdata));
  boot_rom obi_rom (.clk(clk), .mem_ad(obi_rom_ad), .mem_sel(obi_rom_sel),
                    .mem_rd(obi_rom_rd), .mem_rdata(obi_rom_rdata));

  // A request, held until the edge that grants it.
  task obi_request(input write, input [31:0] address);
    begin
      req = 1; we = write; addr = address;
      @(posedge clk);
      while (!gnt)
        @(posedge clk);
      #1 req = 0; we = 'bx; addr = 'bx;
    end
  endtask

  task obi_requests;
    begin
      obi_request(0, base);
      obi_request(0, base + 4);
      obi_request(0, base + 8);
      obi_request(1, base + 12);
    end
  endtask

  // Pipelined Wishbone: four reads back to back in one cycle.
  reg         pl_cyc = 0, pl_stb = 0;
  reg  [31:0] pl_adr = 'bx;
  wire [31:0] pl_rom_ad, pl_rom_rdata, pl_dat;
  wire        pl_rom_sel, pl_rom_rd, pl_ack, pl_err, pl_stall;
  quelto_wishbone_pipelined_adapter wishbone_pipelined (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(pl_cyc), .wb_stb_i(pl_stb),
    .wb_we_i(1'b0), .wb_adr_i(pl_adr), .wb_sel_i(4'hf), .wb_dat_i(32'h0),
    .wb_dat_o(pl_dat), .wb_ack_o(pl_ack), .wb_err_o(pl_err),
    .wb_stall_o(pl_stall),
    .rom_ad(pl_rom_ad), .rom_sel(pl_rom_sel), .rom_rd(pl_rom_rd),
    .rom_rdata(pl_rom_rdata));
  boot_rom pl_rom (.clk(clk), .mem_ad(pl_rom_ad), .mem_sel(pl_rom_sel),
                   .mem_rd(pl_rom_rd), .mem_rdata(pl_rom_rdata));

  task wishbone_pipelined_reads;
    integer i, answers;
    begin
      pl_cyc = 1;
      answers = 0;
      for (i = 0; i < 4; i = i + 1) begin
        pl_stb = 1; pl_adr = base + 4 * i;
        @(posedge clk);
        while (pl_stall)
          @(posedge clk);
        answers = answers + pl_ack;
        #1;
      end
      pl_stb = 0; pl_adr = 'bx;
      while (answers < 4) begin
        @(posedge clk) answers = answers + pl_ack;
        #1;
      end
      pl_cyc = 0;
    end
  endtask

  // Wishbone with registered feedback: a wrapping burst of eight words
  // that starts mid-line, at the seventh word.
  reg         bu_cyc = 0;
  reg  [2:0]  bu_cti = 3'bx;
  reg  [1:0]  bu_bte = 2'bx;
  reg  [31:0] bu_adr = 'bx;
  wire [31:0] bu_rom_ad, bu_rom_rdata, bu_dat;
  wire        bu_rom_sel, bu_rom_rd, bu_ack, bu_err;
  quelto_wishbone_burst_adapter wishbone_burst (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(bu_cyc), .wb_stb_i(bu_cyc),
    .wb_we_i(1'b0), .wb_adr_i(bu_adr), .wb_sel_i(4'hf), .wb_dat_i(32'h0),
    .wb_cti_i(bu_cti), .wb_bte_i(bu_bte),
    .wb_dat_o(bu_dat), .wb_ack_o(bu_ack), .wb_err_o(bu_err),
    .rom_ad(bu_rom_ad), .rom_sel(bu_rom_sel), .rom_rd(bu_rom_rd),
    .rom_rdata(bu_rom_rdata));
  boot_rom bu_rom (.clk(clk), .mem_ad(bu_rom_ad), .mem_sel(bu_rom_sel),
                   .mem_rd(bu_rom_rd), .mem_rdata(bu_rom_rdata));

  task wishbone_burst_reads;
    integer i;
    begin
      bu_cyc = 1; bu_bte = 2'b10;
      for (i = 0; i < 8; i = i + 1) begin
        bu_adr = base + 4 * ((6 + i) % 8);
        bu_cti = i == 7 ? 3'b111 : 3'b010;
        @(posedge clk);
        while (!bu_ack)
          @(posedge clk);
        #1;
      end
      bu_cyc = 0; bu_cti = 'bx; bu_bte = 'bx; bu_adr = 'bx;
    end
  endtask

  // One edge in reset; the diagram starts at the next edge, as clock 0,
  // and the master starts in clock 1.
  reg [8 * 256 - 1:0] vcd;
  reg [8 * 32 - 1:0] diagram;
  initial begin
    if (!$value$plusargs("diagram=%s", diagram))
      diagram = "module";
    @(posedge clk) #1 rst = 0;
    if ($value$plusargs("vcd=%s", vcd)) begin
      #8 $dumpfile(vcd);
      $dumpvars(1, rom, wishbone, valid_ready, axi4lite, axi4, ahb_lite, obi,
                wishbone_pipelined, wishbone_burst);
    end
    repeat (2) @(posedge clk);
    #1 case (diagram)
      "module":       module_reads;
      "wishbone":     begin
        wishbone_request(0, base);
        @(posedge clk) #1 wishbone_request(1, base + 4);
      end
      "valid_ready":  begin
        valid_ready_request(4'h0, base);
        @(posedge clk) #1 valid_ready_request(4'hf, base + 4);
      end
      "axi4lite":           axi4lite_reads;
      "axi4":               axi4_bursts;
      "ahb_lite":           ahb_lite_transfers;
      "obi":                obi_requests;
      "wishbone_pipelined": wishbone_pipelined_reads;
      "wishbone_burst":     wishbone_burst_reads;
      default: begin
        $display("timing_bench: no diagram %0s", diagram);
        $finish;
      end
    endcase
    repeat (2) @(posedge clk);
    #1 $finish;
  end
endmodule
