// SPDX-License-Identifier: ISC
// The master of adapter_master.vh for Wishbone with registered-feedback
// bursts (ADAPTER_WISHBONE_BURST).  Cycles start at the lowest row not yet
// read, until every row has been: classic reads (CTI 000, or a reserved
// value), constant-address bursts, linear bursts of up to 20 words that
// cross wrap boundaries, and wrapping bursts of 4, 8 and 16 words that
// start mid-line; STB falls for a pause at random between a burst's
// transfers, one burst in eight is cut short by dropping CYC, and now and
// then a burst's next transfer is a classic read of any row instead.  A
// classic write comes now and then.  ADR, WE, CTI and BTE are unknown
// whenever STB is low.  Every word is checked at the edge
// that takes it, and every ack must be owed: to a request of the edge
// before that had none, or to a burst that went on at that edge.

  reg         cyc = 0, stb = 0, we = 0;
  reg  [2:0]  cti = 0;
  reg  [1:0]  bte = 0;
  reg  [31:0] adr = 0;
  wire        ack, err;
  localparam [2:0] CLASSIC = 3'b000, CONSTANT = 3'b001, INCREMENTING = 3'b010,
                   RESERVED = 3'b011, END_OF_BURST = 3'b111;

  // With ACK_WRITES, the adapter acknowledges writes, for a master that
  // has no ERR input.
`ifdef ACK_WRITES
  localparam ack_writes = 1;
`else
  localparam ack_writes = 0;
`endif
  quelto_wishbone_burst_adapter #(.ACK_WRITES(ack_writes)) adapter (
    .wb_clk_i(clk), .wb_rst_i(rst), .wb_cyc_i(cyc), .wb_stb_i(stb),
    .wb_we_i(we), .wb_adr_i(adr), .wb_sel_i(4'hf), .wb_dat_i(wdata),
    .wb_cti_i(cti), .wb_bte_i(bte),
    .wb_dat_o(bus_rdata), .wb_ack_o(ack), .wb_err_o(err),
    .rom_ad(mem_ad), .rom_sel(mem_sel), .rom_rd(mem_rd), .rom_rdata(rdata_a));
  assign answer = ack;
  assign taken = cyc && stb;
  assign progress = ack || err;

  reg ack_owed = 0;
  always @(posedge clk)
    if (!rst) begin
      if ((ack || err) && !ack_owed)
        adapter_mismatch("answer not owed", {ack, err}, 0);
      ack_owed = cyc && stb && (!ack && !err || ack && !we &&
                                (cti == CONSTANT || cti == INCREMENTING));
    end

  // The next address of a burst, the master's own way: wrapping within
  // an aligned block of `block` words, or linear for block 0.
  function [31:0] next_address(input [31:0] at, input [2:0] kind, input integer block);
    begin
      if (kind == CONSTANT)
        next_address = at;
      else if (block == 0)
        next_address = at + 4;
      else
        next_address = at / (block * 4) * (block * 4) |
                       (at + 4) % (block * 4);
    end
  endfunction

  // While STB is low a master may drive anything on ADR, WE, CTI and
  // BTE: unknown here, which must not reach ACK or DAT_O.
  reg [31:0] kept;
  task unknown;
    begin
      adr = 32'bx;
      we = 1'bx;
      cti = 3'bx;
      bte = 2'bx;
    end
  endtask

  reg     done_row [0:image_capacity / 4];
  integer next_row = 0, beat, length, block, cut_at, choice;
  reg [2:0] kind;

  // One cycle: `length` transfers from row next_row; the last with CTI
  // 111, unless the burst is classic; CYC dropped after beat cut_at.
  task cycle;
    begin
      cyc = 1;
      we = 0;
      adr = row_address(next_row);
      bte = block == 4 ? 2'b01 : block == 8 ? 2'b10 : block == 16 ? 2'b11 : 2'b00;
      for (beat = 0; beat < length; beat = beat + 1) begin
        cti = kind == CLASSIC || kind == RESERVED ? kind :
              beat == length - 1 ? END_OF_BURST : kind;
        stb = 1;
        request_raised;
        @(posedge clk);
        while (!ack && !err)
          @(posedge clk);
        check_read(adr[31:2] % rows_a, bus_rdata, err);
        done_row[adr[31:2] % rows_a] = 1;
        reads = reads + 1;
        @(negedge clk);
        adr = next_address(adr, kind, block);
        if (beat < length - 1 && beat != cut_at && !fastest &&
            kind != CLASSIC && kind != RESERVED && ($random & 7) == 0) begin
          // Not the burst's next address but any row, as a classic read
          // with STB kept high: the word read ahead is not its answer.
          adr = row_address({$random} % rows_a);
          cti = CLASSIC;
          @(posedge clk);
          while (!ack && !err)
            @(posedge clk);
          check_read(adr[31:2] % rows_a, bus_rdata, err);
          done_row[adr[31:2] % rows_a] = 1;
          reads = reads + 1;
          @(negedge clk);
          beat = length;
        end else if (beat == cut_at) begin
          // CYC low at an edge ends the burst.
          cyc = 0;
          stb = 0;
          beat = length;
          @(negedge clk);
        end else if (beat < length - 1 && !fastest && ($random & 7) == 0) begin
          stb = 0;
          kept = adr;
          unknown;
          repeat (1 + ($random & 1)) @(negedge clk);
          adr = kept;
          we = 0;
          bte = block == 4 ? 2'b01 : block == 8 ? 2'b10 : block == 16 ? 2'b11 : 2'b00;
        end
      end
      cyc = 0;
      stb = 0;
      unknown;
      while (next_row < rows_a && done_row[next_row])
        next_row = next_row + 1;
    end
  endtask

  task read_through_adapter;
    begin
      reads = 0;
      writes = 0;
      for (beat = 0; beat < rows_a; beat = beat + 1)
        done_row[beat] = 0;
      while (next_row < rows_a) begin
        choice = fastest ? 3 : $random & 7;
        cut_at = fastest || ($random & 7) != 0 ? -1 : $random & 7;
        block = 0;
        length = 1;
        kind = INCREMENTING;
        case (choice)
          0: kind = CLASSIC;
          1: kind = RESERVED;             // served as a classic cycle
          2: begin kind = CONSTANT; length = 1 + ($random & 3); end
          3: length = fastest ? rows_a : 1 + {$random} % 20;
          4: block = 4;
          5: block = 8;
          6: block = 16;
          7: begin
            if (writes < next_row / 8) begin
              // A write, as a classic cycle: its answer is an error, or
              // an ack with ACK_WRITES.
              cyc = 1;
              stb = 1;
              we = 1;
              cti = CLASSIC;
              bte = 2'b00;
              adr = $random;
              wdata = $random;
              @(posedge clk);
              while (!ack && !err)
                @(posedge clk);
              if (err === ack_writes || ack !== ack_writes || bus_rdata !== 0)
                adapter_mismatch("answer to a write", {ack, err},
                                 ack_writes ? 2'b10 : 2'b01);
              writes = writes + 1;
              @(negedge clk);
              cyc = 0;
              stb = 0;
              we = 0;
            end
            kind = CLASSIC;
          end
        endcase
        if (block != 0)
          length = block;
        cycle;
        if (!fastest)
          repeat ($random & 1) @(negedge clk);
      end
    end
  endtask
