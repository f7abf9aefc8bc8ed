// SPDX-License-Identifier: ISC
// The simulation that the guide's timing diagrams are drawn from: the
// example's ROM, boot_rom, read on its own bus and through each bus
// adapter, side by side, clock for clock.  The masters change their
// outputs 1 ns after a rising edge, as registers do.  After one clock edge
// in reset, +vcd=FILE gets a trace of the next clocks.

`timescale 1ns/100ps

module timing_bench;
  reg clk = 0;
  reg rst = 1;
  always #5 clk = ~clk;

  localparam [31:0] base = 32'h80000000;

  // The module's own bus.
  reg  [31:0] mem_ad = 'bx;
  reg         mem_sel = 0;
  reg         mem_rd = 0;
  wire [31:0] mem_rdata;
  boot_rom rom (.clk(clk), .mem_ad(mem_ad), .mem_sel(mem_sel), .mem_rd(mem_rd),
                .mem_rdata(mem_rdata));

  // Wishbone: a read, then a write.
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

  // Requests, each made 1 ns after a rising edge and held until the edge
  // that sees its answer, as the bus's rules say.
  task wishbone_request(input write, input [31:0] address);
    begin
      wb_cyc = 1; wb_we = write; wb_adr = address;
      @(posedge clk);
      while (!wb_ack && !wb_err)
        @(posedge clk);
      #1 wb_cyc = 0; wb_we = 'bx; wb_adr = 'bx;
    end
  endtask

  task valid_ready_request(input [3:0] wstrb, input [31:0] address);
    begin
      mem_valid = 1; mem_wstrb = wstrb; mem_addr = address;
      @(posedge clk);
      while (!mem_ready)
        @(posedge clk);
      #1 mem_valid = 0; mem_wstrb = 'bx; mem_addr = 'bx;
    end
  endtask

  task axi4lite_read(input [31:0] address);
    begin
      arvalid = 1; araddr = address;
      @(posedge clk);
      while (!arready)
        @(posedge clk);
      #1 arvalid = 0; araddr = 'bx;
    end
  endtask

  // One edge in reset; the diagrams start at the next edge, as clock 0,
  // and the masters start in clock 1.
  reg [8 * 256 - 1:0] vcd;
  initial begin
    @(posedge clk) #1 rst = 0;
    if ($value$plusargs("vcd=%s", vcd)) begin
      #8 $dumpfile(vcd);
      $dumpvars(1, rom, wishbone, axi4lite, valid_ready);
    end
    repeat (2) @(posedge clk);
    #1 fork
      begin
        mem_ad = base; mem_sel = 1; mem_rd = 1;
        @(posedge clk) #1 mem_sel = 0; mem_rd = 0; mem_ad = 'bx;
        @(posedge clk) #1 mem_ad = base + 4; mem_sel = 1; mem_rd = 1;
        @(posedge clk) #1 mem_ad = base + 8;
        @(posedge clk) #1 mem_sel = 0; mem_rd = 0; mem_ad = 'bx;
      end
      begin
        wishbone_request(0, base);
        @(posedge clk) #1 wishbone_request(1, base + 4);
      end
      begin
        valid_ready_request(4'h0, base);
        @(posedge clk) #1 valid_ready_request(4'hf, base + 4);
      end
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
      end
    join
    repeat (2) @(posedge clk);
    #1 $finish;
  end
endmodule
