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
// Latency: a read is answered in the second clock of mem_valid, so the
// processor takes the word at the second rising edge that sees mem_valid
// high.  A write (any bit of mem_wstrb set) is acknowledged in the same
// clock and ignored: a ROM cannot be written, and a processor left
// waiting would hang.  mem_ready answers the transfer of the edge before
// it and is high for one clock, so a transfer that the processor
// withdraws (a processor reset apart from the adapter) gets no answer in
// a later transfer.
//
// Throughput: one read every two clocks, the fastest that an interface
// without a pipeline allows from a memory with a clock of read latency.
//
// Outputs: mem_ready is a register; mem_rdata is the module's own output
// register gated by a register, and 0 whenever mem_ready is low, so the
// data of several devices can be ORed into the processor's.  No input of
// the processor's side reaches its outputs without a register.  rom_ad,
// rom_sel and rom_rd follow mem_valid and mem_addr within the clock, so
// that the module takes the address at the transfer's own edge.  resetn
// is synchronous; every register starts at 0, which is idle, so that a
// design without a reset works too.
//
// Paths from a bus input to a bus output without a register: none.

`default_nettype none

module quelto_valid_ready_adapter (
  input  wire        clk,
  input  wire        resetn,
  input  wire        mem_valid,
  input  wire [31:0] mem_addr,
  input  wire [31:0] mem_wdata,
  input  wire [3:0]  mem_wstrb,
  output reg         mem_ready = 1'b0,
  output wire [31:0] mem_rdata,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // A transfer that has had no answer yet: the processor holds it until
  // it sees one, so the clock of the answer must not take it again.
  wire transfer = mem_valid && !mem_ready && resetn;
  wire write    = |mem_wstrb;

  // The ROM has been given the read; its word is on rom_rdata now.
  reg reading = 1'b0;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock, and its word is there in the next.
  assign rom_ad    = mem_addr;
  assign rom_sel   = transfer && !write;
  assign rom_rd    = rom_sel;
  assign mem_rdata = reading ? rom_rdata : 32'h0;

  always @(posedge clk) begin
    mem_ready <= transfer;
    reading   <= rom_sel;
  end

  // What a ROM has no use for.
  wire unused = &{1'b0, mem_wdata};

`ifdef FORMAL
  wire [31:2] f_address;
  wire [31:0] f_word;
  wire        f_read;
  wire [31:2] f_read_ad;
  wire        f_past_valid;
  quelto_formal_rom rom (
    .clk(clk), .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata), .f_address(f_address), .f_word(f_word),
    .f_read(f_read), .f_read_ad(f_read_ad), .f_past_valid(f_past_valid));

  quelto_formal_valid_ready bus (
    .clk(clk), .resetn(resetn), .mem_valid(mem_valid), .mem_addr(mem_addr),
    .mem_wdata(mem_wdata), .mem_wstrb(mem_wstrb), .mem_ready(mem_ready),
    .mem_rdata(mem_rdata), .f_address(f_address), .f_word(f_word));

  always @(posedge clk) begin
    // Proven: the ROM is read only at the edge of a read transfer, never
    // in reset, and once for each: the clock after the read holds its
    // answer.
    if (rom_sel || rom_rd)
      assert(mem_valid && !write && resetn && !(f_past_valid && f_read));
    if (f_past_valid) begin
      // Proven: every transfer is answered in its second clock.
      if ($past(transfer))
        assert(mem_ready);
      // The adapter's state agrees with the ROM's.
      assert(reading == f_read);
      if (reading)
        assert(mem_ready && f_read_ad == $past(mem_addr[31:2]));
    end
  end
`endif
endmodule

`default_nettype wire
