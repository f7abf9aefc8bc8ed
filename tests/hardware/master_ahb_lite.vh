// SPDX-License-Identifier: ISC
// The manager of adapter_master.vh for AHB-Lite (ADAPTER_AHB_LITE), with
// the interconnect's HREADY.  Reads go in order of rows, as INCR bursts
// of NONSEQ and SEQ transfers, with what AHB-Lite allows between them:
// IDLE with HSEL high or low, BUSY inside a burst, writes to the ROM, and
// transfers to another subordinate, whose data phases hold HREADY low at
// random while the next address phase, to the ROM or not, waits.

  reg         hsel = 0, hwrite = 0;
  reg  [1:0]  htrans = 2'b00;
  reg  [2:0]  hburst = 3'b000;
  reg  [31:0] haddr = 0;
  wire        hreadyout, hresp;
  localparam [1:0] IDLE = 2'b00, BUSY = 2'b01, NONSEQ = 2'b10, SEQ = 2'b11;

  // The data phase in progress: the ROM's read of row data_row, the
  // ROM's write, another subordinate's transfer, or none; and its clocks.
  reg         data_ours = 0, data_write = 0, data_other = 0;
  integer     data_row = 0, data_clocks = 0;
  reg         other_ready = 1;
  wire        hready = data_ours ? hreadyout : other_ready;

  quelto_ahb_lite_adapter adapter (
    .hclk(clk), .hresetn(!rst), .hsel(hsel), .haddr(haddr), .htrans(htrans),
    .hwrite(hwrite), .hsize(3'b010), .hburst(hburst), .hprot(4'b0011),
    .hmastlock(1'b0), .hwdata(wdata), .hready(hready),
    .hreadyout(hreadyout), .hresp(hresp), .hrdata(bus_rdata),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = data_ours && !data_write;
  assign taken = hsel && htrans[1] && hready;
  assign progress = data_ours && hready;

  // The manager: the address phase on the bus, which ended at the last
  // edge or waits; the row it reads; the next row; and whether the next
  // read may go on the burst.
  reg         running = 0;
  reg         ended = 1;
  integer     address_row = 0, next_row = 0;
  reg         in_burst = 0;
  integer     choice;

  // At each edge: the data phase in progress ends if HREADY is high, and
  // the address phase becomes the next data phase.
  always @(posedge clk)
    if (running) begin
      ended <= hready;
      if (data_ours && data_write && (hresp !== 1'b1 ||
                                      hreadyout !== (data_clocks == 1)))
        adapter_mismatch("ERROR response of a write", {hresp, hreadyout},
                         {1'b1, data_clocks == 1});
      if (hready) begin
        if (data_ours && !data_write) begin
          if (hresp !== 1'b0)
            adapter_mismatch("HRESP of a read", hresp, 0);
          check_read(data_row, bus_rdata, 1'b0);
          reads = reads + 1;
        end
        data_ours   <= hsel && htrans[1];
        data_write  <= hwrite;
        data_other  <= !hsel && htrans[1];
        data_row    <= address_row;
        data_clocks <= 0;
      end else begin
        data_clocks <= data_clocks + 1;
      end
    end

  // Between edges: the next address phase, once the last one has ended;
  // and the other subordinate's HREADY.
  always @(negedge clk)
    if (running) begin
      if (ended) begin
        choice = fastest ? 7 : $random & 7;
        hburst = 3'b000;
        hwrite = 0;
        if (next_row == rows_a || choice == 0 || choice == 1 && !in_burst) begin
          hsel = $random;
          htrans = IDLE;
          in_burst = 0;
        end else if (choice == 1) begin
          // A pause in the burst, at the address of its next transfer.
          hsel = 1;
          if (htrans != BUSY)
            haddr = haddr + 4;
          htrans = BUSY;
          hburst = 3'b001;
        end else if (choice == 2 || choice == 3 && writes >= next_row / 8) begin
          hsel = 0;
          htrans = NONSEQ;
          hwrite = $random;
          haddr = $random;
          in_burst = 0;
        end else if (choice == 3) begin
          hsel = 1;
          htrans = NONSEQ;
          hwrite = 1;
          haddr = $random;
          wdata = $random;
          writes = writes + 1;
          in_burst = 0;
        end else begin
          hsel = 1;
          hburst = 3'b001;
          if (in_burst) begin
            if (htrans != BUSY)
              haddr = haddr + 4;
            htrans = SEQ;
          end else begin
            htrans = NONSEQ;
            haddr = row_address(next_row);
          end
          address_row = next_row;
          next_row = next_row + 1;
          in_burst = 1;
          request_raised;
        end
      end
      other_ready = !data_other || fastest || ($random & 3) != 0;
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
