// SPDX-License-Identifier: ISC
// The master of adapter_master.vh for AXI4 (ADAPTER_AXI4): three masters
// at once.  Read bursts start at the lowest row not yet read, until every
// row has been, of every type, length and size that a 32-bit bus allows,
// unaligned INCR starts included, with random IDs and several addresses
// under way; R with RREADY low in a quarter of the clocks; and write
// bursts, W beats before or after their address.  Between transactions,
// now and then, a clock edge in reset.  Every beat is checked where it is
// taken: its word, at the address that AXI4 gives it, its ID and RLAST.
// With +fastest: INCR bursts of 256 words back to back, or with +wrap,
// WRAP bursts of 16 from the middle of their lines.

  reg         arvalid = 0, rready = 0, awvalid = 0, wvalid = 0, wlast = 0;
  reg         bready = 0;
  reg  [31:0] araddr = 0, awaddr = 0;
  reg  [7:0]  arlen = 0, awlen = 0;
  reg  [2:0]  arsize = 0;
  reg  [1:0]  arburst = 0;
  reg  [3:0]  arid = 0, awid = 0;
  wire        arready, rvalid, rlast, awready, wready, bvalid;
  wire [3:0]  rid, bid;
  wire [1:0]  rresp, bresp;
  localparam [1:0] FIXED = 2'b00, INCR = 2'b01, WRAP = 2'b10;

  quelto_axi4_adapter adapter (
    .aclk(clk), .aresetn(!rst),
    .s_axi_arid(arid), .s_axi_araddr(araddr), .s_axi_arlen(arlen),
    .s_axi_arsize(arsize), .s_axi_arburst(arburst), .s_axi_arlock(1'b0),
    .s_axi_arcache(4'b0011), .s_axi_arprot(3'b000), .s_axi_arqos(4'h0),
    .s_axi_arvalid(arvalid), .s_axi_arready(arready),
    .s_axi_rid(rid), .s_axi_rdata(bus_rdata), .s_axi_rresp(rresp),
    .s_axi_rlast(rlast), .s_axi_rvalid(rvalid), .s_axi_rready(rready),
    .s_axi_awid(awid), .s_axi_awaddr(awaddr), .s_axi_awlen(awlen),
    .s_axi_awsize(3'd2), .s_axi_awburst(INCR), .s_axi_awlock(1'b0),
    .s_axi_awcache(4'b0011), .s_axi_awprot(3'b000), .s_axi_awqos(4'h0),
    .s_axi_awvalid(awvalid), .s_axi_awready(awready),
    .s_axi_wdata(wdata), .s_axi_wstrb(4'hf), .s_axi_wlast(wlast),
    .s_axi_wvalid(wvalid), .s_axi_wready(wready),
    .s_axi_bid(bid), .s_axi_bresp(bresp), .s_axi_bvalid(bvalid),
    .s_axi_bready(bready),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = rvalid;
  assign taken = arvalid && arready;
  assign progress = rvalid && rready || bvalid && bready || rst;
  // The adapter reads a word again while an older one waits on R.
  assign r_stalled = rvalid && !rready;
`define READS_AGAIN

  // B only once the address and the last W beat are taken.
  always @(posedge clk)
    if (!rst && bvalid && !(aw_sent && w_sent))
      adapter_mismatch("B before the address and the last W beat", bvalid, 0);

  // Beat n (from 0) of a burst, as AXI4 words it: the start, then the
  // aligned address plus n times the size; a WRAP burst's address goes
  // back by the burst's bytes when it reaches the upper wrap boundary.
  function [31:0] beat_address(input [31:0] start, input [7:0] len,
                               input [2:0] size, input [1:0] kind,
                               input integer n);
    reg [31:0] bytes, aligned, total, lower;
    begin
      bytes = 1 << size;
      aligned = start / bytes * bytes;
      total = (len + 1) * bytes;
      lower = start / total * total;
      beat_address = kind == FIXED || n == 0 ? start : aligned + n * bytes;
      if (kind == WRAP && beat_address >= lower + total)
        beat_address = beat_address - total;
    end
  endfunction

  // The bursts taken and not yet answered in full, oldest first.
  reg  [31:0] q_start [0:7];
  reg  [7:0]  q_len [0:7];
  reg  [2:0]  q_size [0:7];
  reg  [1:0]  q_kind [0:7];
  reg  [3:0]  q_id [0:7];
  integer     queued = 0, beat = 0, i, w_beat;
  reg         done_row [0:image_capacity / 4];
  integer     next_row = 0;
  reg         issuing = 1, write_busy = 0, aw_sent = 0, w_sent = 0;
  reg         wrap_bursts = 0;
  integer     gap, room, burst_bytes;
  reg  [31:0] at;
  reg         beat_ok;

  task push_burst;
    begin
      q_start[queued] = araddr;
      q_len[queued] = arlen;
      q_size[queued] = arsize;
      q_kind[queued] = arburst;
      q_id[queued] = arid;
      queued = queued + 1;
    end
  endtask

  // The next burst, from the lowest row not yet read.
  task choose_burst;
    begin
      arid = $random;
      if (fastest) begin
        arsize = 2;
        arburst = wrap_bursts ? WRAP : INCR;
        arlen = wrap_bursts ? 15 : 255;
        araddr = (next_row << 2) / ((arlen + 1) * 4) * ((arlen + 1) * 4);
        // A WRAP burst from the middle of its line.
        if (wrap_bursts)
          araddr = araddr + (arlen + 1) * 2;
      end else begin
        arsize = {$random} % 3;
        arburst = {$random} % 3;
        araddr = row_address(next_row) | {$random} % 4;
        if (arburst == WRAP) begin
          arlen = (2 << {$random} % 4) - 1;
          araddr = araddr / (1 << arsize) * (1 << arsize);
        end else if (arburst == FIXED) begin
          arlen = {$random} % 16;
        end else begin
          // Long bursts now and then; none across a 4 KB boundary.
          arlen = ($random & 3) == 0 ? $random : $random & 15;
          room = (4096 - araddr % 4096 + (1 << arsize) - 1) / (1 << arsize);
          if (arlen >= room)
            arlen = room - 1;
        end
      end
    end
  endtask

  task read_through_adapter;
    begin
      reads = 0;
      writes = 0;
      wrap_bursts = $test$plusargs("wrap");
      for (i = 0; i < rows_a; i = i + 1)
        done_row[i] = 0;
      fork
        // Addresses, and resets between transactions.
        begin
          while (next_row < rows_a) begin
            gap = fastest ? 4 : $random & 7;
            if (gap < 4) begin
              arvalid = 0;
              repeat (gap) @(negedge clk);
            end
            if (!fastest && queued == 0 && !write_busy && ($random & 31) == 0) begin
              arvalid = 0;
              rst = 1;
              @(negedge clk) rst = 0;
            end
            if (queued < 4) begin
              choose_burst;
              arvalid = 1;
              request_raised;
              @(posedge clk);
              while (!arready)
                @(posedge clk);
              push_burst;
              // Rows are counted as read once their beats are taken.
              @(negedge clk);
              if (fastest)
                next_row = next_row + (arlen + 1);
            end else begin
              arvalid = 0;
              @(negedge clk);
            end
          end
          arvalid = 0;
          issuing = 0;
        end
        // R: every beat checked against the oldest burst.
        begin
          while (issuing || queued > 0) begin
            @(negedge clk) rready = fastest || ($random & 3) != 0;
            @(posedge clk);
            if (rvalid && rready) begin
              at = beat_address(q_start[0], q_len[0], q_size[0], q_kind[0], beat);
              beat_ok = queued > 0 && rid === q_id[0] && rresp === 2'b00 &&
                        rlast === (beat == q_len[0]);
              if (!beat_ok)
                adapter_mismatch("ID, RRESP or RLAST of a beat",
                                 {rid, rresp, rlast}, {q_id[0], 2'b00, beat == q_len[0]});
              check_read(at[31:2] % rows_a, bus_rdata, 1'b0);
              done_row[at[31:2] % rows_a] = 1;
              reads = reads + 1;
              beat = beat + 1;
              if (beat > q_len[0]) begin
                beat = 0;
                for (i = 0; i < 7; i = i + 1) begin
                  q_start[i] = q_start[i + 1];
                  q_len[i] = q_len[i + 1];
                  q_size[i] = q_size[i + 1];
                  q_kind[i] = q_kind[i + 1];
                  q_id[i] = q_id[i + 1];
                end
                queued = queued - 1;
              end
              while (next_row < rows_a && done_row[next_row])
                next_row = next_row + 1;
            end
          end
          @(negedge clk) rready = 0;
        end
        // Writes: the address and the data, either first.
        begin
          while (issuing && !fastest) begin
            repeat ($random & 15) @(negedge clk);
            if (!rst && issuing) begin
              write_busy = 1;
              aw_sent = 0;
              w_sent = 0;
              awid = $random;
              awlen = $random & 7;
              fork
                begin
                  repeat ($random & 3) @(negedge clk);
                  awaddr = $random;
                  awvalid = 1;
                  @(posedge clk);
                  while (!awready)
                    @(posedge clk);
                  aw_sent = 1;
                  @(negedge clk) awvalid = 0;
                end
                begin
                  repeat ($random & 3) @(negedge clk);
                  for (w_beat = 0; w_beat <= awlen; w_beat = w_beat + 1) begin
                    wdata = $random;
                    wlast = w_beat == awlen;
                    wvalid = 1;
                    @(posedge clk);
                    while (!wready)
                      @(posedge clk);
                    w_sent = wlast;
                    @(negedge clk) wvalid = 0;
                  end
                end
              join
              bready = 0;
              while (!(bvalid && bready)) begin
                @(negedge clk) bready = $random;
                @(posedge clk);
              end
              if (bresp !== 2'b10 || bid !== awid)
                adapter_mismatch("B of a write", {bid, bresp}, {awid, 2'b10});
              writes = writes + 1;
              @(negedge clk) bready = 0;
              write_busy = 0;
            end
          end
        end
      join
    end
  endtask
