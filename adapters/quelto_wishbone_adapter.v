// SPDX-License-Identifier: ISC
// quelto_wishbone_adapter: a Wishbone B4 classic slave in front of a ROM
// module that quelto wrote.
//
// Connects a Wishbone master (wb_*) to the module's bus (rom_*): wire
// rom_ad, rom_sel and rom_rd to the module's mem_ad, mem_sel and mem_rd,
// and its mem_rdata to rom_rdata.  The adapter decodes no address: raise
// wb_stb_i only for the ROM's range.  wb_adr_i is a byte address; the ROM
// ignores bits 1:0 and wb_sel_i, and returns whole words.  A master that
// drives CYC without STB (SERV) has wb_stb_i tied to its decoded CYC.
//
// Latency: a read is acknowledged in the second clock of its request, so
// the master takes the word at the second rising edge that sees wb_stb_i
// high (one wait state), the fastest that a classic slave with a
// registered acknowledge can answer.  A write gets wb_err_o instead, in
// the same clock; it changes nothing.  With ACK_WRITES 1, for a master
// that has no ERR input (picorv32_wb), which would wait for ever for an
// answer to a store into the ROM, a write gets wb_ack_o instead, with
// wb_dat_o 0, and still changes nothing.  Every answer is high for one
// clock.
//
// Throughput: one read every two clocks.
//
// Outputs: wb_ack_o and wb_err_o are registers; wb_dat_o is the module's
// own output register gated by wb_ack_o, and 0 whenever wb_ack_o is low,
// so the data of several slaves can be ORed.  No bus input reaches a bus
// output without a register.  rom_ad, rom_sel and rom_rd follow the bus
// within the clock, so that the module takes the address at the request's
// own edge.  wb_rst_i is synchronous; every register starts at 0, which
// is idle, so that a design without a reset works too.
//
// Paths from a bus input to a bus output without a register: none.

`default_nettype none

module quelto_wishbone_adapter #(
  parameter ACK_WRITES = 0
) (
  input  wire        wb_clk_i,
  input  wire        wb_rst_i,
  input  wire        wb_cyc_i,
  input  wire        wb_stb_i,
  input  wire        wb_we_i,
  input  wire [31:0] wb_adr_i,
  input  wire [3:0]  wb_sel_i,
  input  wire [31:0] wb_dat_i,
  output wire [31:0] wb_dat_o,
  output reg         wb_ack_o = 1'b0,
  output reg         wb_err_o = 1'b0,

  output wire [31:0] rom_ad,
  output wire        rom_sel,
  output wire        rom_rd,
  input  wire [31:0] rom_rdata
);
  // A request that has had no answer yet: the master holds it until it
  // sees one, so the clock of the answer must not take it again.
  wire request = wb_cyc_i && wb_stb_i && !wb_ack_o && !wb_err_o;

  // The ROM registers the address itself: the read goes to it at once,
  // for exactly one clock, and its word is there in the next.
  assign rom_ad   = wb_adr_i;
  assign rom_sel  = request && !wb_we_i && !wb_rst_i;
  assign rom_rd   = rom_sel;
  // After a write the ROM gives 0, as it read nothing.
  assign wb_dat_o = wb_ack_o ? rom_rdata : 32'h0;

  wire write = request && wb_we_i;
  always @(posedge wb_clk_i)
    if (wb_rst_i) begin
      wb_ack_o <= 1'b0;
      wb_err_o <= 1'b0;
    end else begin
      wb_ack_o <= rom_sel || ACK_WRITES != 0 && write;
      wb_err_o <= ACK_WRITES == 0 && write;
    end

  // What a ROM has no use for.
  wire unused = &{1'b0, wb_sel_i, wb_dat_i};

`ifdef FORMAL
  wire [31:2] f_address;
  wire [31:0] f_word;
  wire        f_read;
  wire [31:2] f_read_ad;
  wire        f_past_valid;
  quelto_formal_rom rom (
    .clk(wb_clk_i), .rom_ad(rom_ad), .rom_sel(rom_sel), .rom_rd(rom_rd),
    .rom_rdata(rom_rdata), .f_address(f_address), .f_word(f_word),
    .f_read(f_read), .f_read_ad(f_read_ad), .f_past_valid(f_past_valid));

  quelto_formal_wishbone #(
    .PIPELINED(0), .BURST(0), .ACK_WRITES(ACK_WRITES)
  ) bus (
    .clk(wb_clk_i), .rst(wb_rst_i), .cyc(wb_cyc_i), .stb(wb_stb_i),
    .we(wb_we_i), .adr(wb_adr_i), .sel(wb_sel_i), .dat_w(wb_dat_i),
    .cti(3'b000), .bte(2'b00), .stall(1'b0),
    .ack(wb_ack_o), .err(wb_err_o), .dat_r(wb_dat_o),
    .f_address(f_address), .f_word(f_word), .f_outstanding());

  always @(posedge wb_clk_i) begin
    // Proven: the ROM is read only at the edge that takes a read request,
    // never in reset, and once for each: the clock after the read holds
    // its ack.
    if (rom_sel || rom_rd)
      assert(wb_cyc_i && wb_stb_i && !wb_we_i && !wb_rst_i &&
             !(f_past_valid && f_read));
    if (f_past_valid) begin
      assert(wb_ack_o ==
             (f_read || ACK_WRITES != 0 && $past(write && !wb_rst_i)));
      // Proven: every request is answered in its second clock.
      if ($past(request && !wb_rst_i))
        assert(wb_ack_o || wb_err_o);
      if (f_read && wb_cyc_i && wb_stb_i)
        assert(f_read_ad == wb_adr_i[31:2]);
    end
  end
`endif
endmodule

`default_nettype wire
