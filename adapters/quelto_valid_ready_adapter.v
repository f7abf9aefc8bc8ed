// SPDX-License-Identifier: ISC
// quelto_valid_ready_adapter: the memory interface of PicoRV32-style
// processors in front of a ROM module that quelto wrote.
//
// Connects the processor's mem_valid, mem_addr, mem_wdata, mem_wstrb,
// mem_ready and mem_rdata to the module's bus (rom_*): wire rom_ad,
// rom_sel and rom_rd to the module's mem_ad, mem_sel and mem_rd, and its
// mem_rdata to rom_rdata.  mem_valid must already be qualified by the
// address decode: high only for the ROM's range.  mem_addr is a byte
// address; reads return whole words.
//
// Latency: a read is answered in the third clock of mem_valid, so the
// processor takes the word at the third rising edge that sees mem_valid
// high.  A write (any bit of mem_wstrb set) is acknowledged at the second
// edge and ignored: a ROM cannot be written, and a processor left waiting
// would hang.
//
// Throughput: one read every three clocks.
//
// mem_rdata is 0 whenever mem_ready is low, so the data of several
// devices can be ORed into the processor's.  Every output is a register
// that resetn clears: one clock edge in reset makes them, and the ROM's
// mem_rdata, known and 0.

`default_nettype none

module quelto_valid_ready_adapter (
  input  wire        clk,
  input  wire        resetn,
  input  wire        mem_valid,
  input  wire [31:0] mem_addr,
  input  wire [31:0] mem_wdata,
  input  wire [3:0]  mem_wstrb,
  output reg         mem_ready,
  output reg  [31:0] mem_rdata,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // A transfer that has had no answer yet: the processor holds it until
  // it sees one, so the clock of the answer must not take it again.
  wire request = mem_valid && !mem_ready;
  wire write   = |mem_wstrb;

  // The ROM has been given the read; its word is on rom_rdata now.
  reg reading;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock.
  assign rom_ad  = mem_addr;
  assign rom_sel = request && !write && !reading && resetn;
  assign rom_rd  = rom_sel;

  always @(posedge clk) begin
    if (!resetn) begin
      reading   <= 1'b0;
      mem_ready <= 1'b0;
      mem_rdata <= 32'h0;
    end else begin
      reading   <= rom_sel;
      mem_ready <= reading || request && write;
      // The word is there for this clock only.
      mem_rdata <= reading ? rom_rdata : 32'h0;
    end
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, mem_wdata};

`ifdef FORMAL
  reg f_past_valid = 1'b0;
  always @(posedge clk)
    f_past_valid <= 1'b1;

  // The processor starts in reset and holds a transfer, unchanged, until
  // it is answered.
  always @(*)
    if (!f_past_valid)
      assume(!resetn);
  always @(posedge clk)
    if (f_past_valid && $past(resetn) && $past(request)) begin
      assume(mem_valid);
      assume(mem_addr == $past(mem_addr));
      assume(mem_wstrb == $past(mem_wstrb));
      assume(mem_wdata == $past(mem_wdata));
    end

  // The ROM, with quelto's timing: after an edge with rom_sel and rom_rd
  // high, the word at the address of that edge, and 0 after any other
  // edge.  At one address that the solver chooses it holds a word that the
  // solver chooses; anywhere else, anything.  Before its first edge its
  // output is unknown, as in the module, which has no reset.
  (* anyconst *) reg [31:2] f_address;
  (* anyconst *) reg [31:0] f_word;
  reg        f_rom_read;
  reg [31:2] f_rom_ad;
  always @(posedge clk) begin
    f_rom_read <= rom_sel && rom_rd;
    if (rom_sel && rom_rd)
      f_rom_ad <= rom_ad[31:2];
  end
  always @(*)
    if (f_past_valid && !f_rom_read)
      assume(rom_rdata == 32'h0);
    else if (f_past_valid && f_rom_ad == f_address)
      assume(rom_rdata == f_word);

  // Whether the ROM has been read for the transfer in hand.
  reg f_read_done;
  always @(posedge clk)
    if (!resetn || !mem_valid || mem_ready)
      f_read_done <= 1'b0;
    else if (rom_sel && rom_rd)
      f_read_done <= 1'b1;

  // Clocks that the transfer in hand has waited.
  reg [1:0] f_wait;
  always @(posedge clk)
    if (!resetn || !request)
      f_wait <= 2'd0;
    else
      f_wait <= f_wait + 2'd1;

  always @(posedge clk)
    if (f_past_valid) begin
      // Proven: no answer in the clock after reset, nor without a transfer
      // at the edge before, nor to a transfer that had its answer: one
      // answer per transfer.
      if (!$past(resetn))
        assert(!mem_ready);
      if (mem_ready)
        assert($past(resetn) && $past(request));
      // Proven: mem_rdata is 0 whenever mem_ready is low, and after a
      // write.
      if (!mem_ready || $past(write))
        assert(mem_rdata == 32'h0);
      // Proven: the answer to a read brings the word at its address.
      if (mem_ready && !write && mem_addr[31:2] == f_address)
        assert(mem_rdata == f_word);
      // Proven: the ROM is read once for each read, never for a write,
      // never in reset, and the answer to a read follows that read.
      if (rom_sel && rom_rd)
        assert(mem_valid && !write && !f_read_done && resetn);
      if (mem_ready && !write)
        assert(f_read_done);
      // Proven: every transfer is answered by the third clock.
      assert(f_wait <= 2'd2);

      // The adapter's state agrees with the ROM's and the transfer's.
      assert(reading == f_rom_read);
      if (reading)
        assert(f_read_done && !mem_ready && f_rom_ad == mem_addr[31:2]);
    end
`endif
endmodule

`default_nettype wire
