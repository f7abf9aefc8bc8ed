// SPDX-License-Identifier: ISC
// Verilog ROM writer.  The image is read as little-endian 32-bit words.  An
// image of one word becomes a constant; anything larger becomes a case
// table indexed by the word address, padded with zero rows up to the
// smallest power of two above the image size.

#include "rom_writer.h"

#include "record_reader.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Both forms of the module share the port list.
void write_module_ports(const char *module_name)
{
	std::printf("module %s (mem_rdata, clk, mem_ad, mem_sel, mem_rd);\n",
	    module_name);
	std::fputs(
	    "  input            clk;\n"
	    "  input  [31:0]    mem_ad;\n"
	    "  input            mem_sel;\n"
	    "  input            mem_rd;\n"
	    "  output [31:0]    mem_rdata;\n"
	    "  \n",
	    stdout);
}

void write_single_word(const char *module_name)
{
	write_module_ports(module_name);
	std::printf(
	    "  reg              m_rd;\n"
	    "  \n"
	    "  // mem_rdata is 0 is no read cycle was performed\n"
	    "  always @(posedge clk) begin\n"
	    "    m_rd <= mem_sel && mem_rd;\n"
	    "  end\n"
	    "  assign mem_rdata = m_rd ? 32'h%02x%02x%02x%02x : 0;\n"
	    "\n"
	    "endmodule\n",
	    memory[3], memory[2], memory[1], memory[0]);
}

template <std::size_t size>
char *put_text(char *at, const char (&text)[size])
{
	std::memcpy(at, text, size - 1);
	return at + size - 1;
}

constexpr char hex_digits[] = "0123456789abcdef";

// The two hex digits of every byte value, so that a byte takes one copy.
constexpr auto hex_pairs = [] {
	std::array<std::array<char, 2>, 256> pairs{};
	for (unsigned byte = 0; byte < 256; byte++) {
		pairs[byte][0] = hex_digits[byte >> 4];
		pairs[byte][1] = hex_digits[byte & 0xf];
	}
	return pairs;
}();

char *put_hex_byte(char *at, std::uint8_t byte)
{
	std::memcpy(at, hex_pairs[byte].data(), 2);
	return at + 2;
}

// `value` as `digits` hex digits, most significant first: an odd digit
// alone, then whole bytes.
char *put_hex(char *at, unsigned value, unsigned digits)
{
	const unsigned bytes = digits / 2;
	if (digits % 2 != 0)
		*at++ = hex_digits[value >> (8 * bytes) & 0xf];
	for (unsigned byte = bytes; byte-- > 0;)
		at = put_hex_byte(at, value >> (8 * byte) & 0xff);
	return at;
}

// Case rows are many and alike, so they are formatted by hand into a
// block that is written a block at a time: printf, or even fwrite, per row
// would cost more than all the rest of a conversion.
constexpr std::size_t row_block_size = 1 << 15;
constexpr std::size_t longest_row = 64;
char row_block[row_block_size];
char *rows_end = row_block;

void flush_rows()
{
	std::fwrite(row_block, 1, rows_end - row_block, stdout);
	rows_end = row_block;
}

// Room in the block for one more row.
char *row_space()
{
	if (row_block + row_block_size - rows_end < std::ptrdiff_t{longest_row})
		flush_rows();
	return rows_end;
}

// A word as 8 hex digits, its bytes from the highest address down.
char *put_word(char *at, const std::uint8_t word[4])
{
	at = put_hex_byte(at, word[3]);
	at = put_hex_byte(at, word[2]);
	at = put_hex_byte(at, word[1]);
	return put_hex_byte(at, word[0]);
}

// The row "      'h%03x: rdata = 32'h%02x%02x%02x%02x;\n", filled in with
// the index and the word.
void write_row(unsigned index, const std::uint8_t word[4])
{
	unsigned index_digits = 3;
	while (index_digits < 8 && index >> (4 * index_digits) != 0)
		index_digits++;

	char *end = row_space();
	end = put_text(end, "      'h");
	end = put_hex(end, index, index_digits);
	end = put_text(end, ": rdata = 32'h");
	end = put_word(end, word);
	end = put_text(end, ";\n");
	rows_end = end;
}

unsigned highest_set_bit(std::uint32_t value)
{
	unsigned bit = 0;
	while (value >> (bit + 1) != 0)
		bit++;
	return bit;
}

constexpr std::uint8_t zero_word[4] = {};

void align_image()
{
	while (address % 4 != 0)
		output_byte(0);
}

// The word address register spans bits top_bit down to 2 of mem_ad, so
// the table covers the smallest power of two above the image size; the
// rows past the image are zero.
void write_case_table(const char *module_name)
{
	const unsigned top_bit = highest_set_bit(address);
	const unsigned words = address / 4;
	const unsigned rows = table_rows();

	write_module_ports(module_name);
	std::printf(
	    "  reg    [31:0]    rdata;\n"
	    "  reg    [%u:2]    m_ad;\n"
	    "  reg              m_rd;\n"
	    "  \n"
	    "  always @(posedge clk) begin\n"
	    "    if (mem_sel && mem_rd) begin\n"
	    "      m_ad <= mem_ad[%u:2];\n"
	    "    end\n"
	    "  end\n"
	    "\n"
	    "  // mem_rdata is 0 is no read cycle was performed\n"
	    "  always @(posedge clk) begin\n"
	    "    m_rd <= mem_sel && mem_rd;\n"
	    "  end\n"
	    "  assign mem_rdata = m_rd ? rdata : 0;\n"
	    "\n"
	    "  always @(m_ad) begin\n"
	    "    case (m_ad)\n",
	    top_bit, top_bit);
	for (unsigned i = 0; i < words; i++)
		write_row(i, &memory[4 * i]);
	for (unsigned i = words; i < rows; i++)
		write_row(i, zero_word);
	flush_rows();
	std::fputs(
	    "    endcase\n"
	    "  end\n"
	    "\n"
	    "endmodule\n",
	    stdout);
}

} // namespace

void write_header()
{
	// The two keywords are split in this source so that our own version
	// control leaves them alone; they are meant for the repository that
	// the generated file is checked into.
	std::fputs(
	    "////////////////////////////////////////"
	    "////////////////////////////////////////\n"
	    "// Read-only memory for a 32-bit synchronous bus, in Verilog.\n"
	    "// Generated from a program image given as Motorola S-records.\n"
	    "//\n"
	    "// Do not edit this file by hand: change the program image and\n"
	    "// generate the file again, or your changes will be lost.\n"
	    "//\n"
	    "// Terms: the contents of this file are that program image in another\n"
	    "// form, and stay under whatever terms govern the program image.\n"
	    "// Generating the file adds no terms of its own and claims no rights\n"
	    "// on anyone's behalf.\n"
	    "//\n"
	    "//\n"
	    "// $Ondrel" "Release$\n"
	    "// $File" "Name$\n"
	    "//\n"
	    "// Automatically generated by quelto\n"
	    "//\n"
	    "`timescale 1ns/100 ps\n"
	    "\n",
	    stdout);
}

void write_rom_module(const char *module_name)
{
	align_image();
	if (address == 4)
		write_single_word(module_name);
	else
		write_case_table(module_name);
}

std::uint32_t table_rows()
{
	const std::uint32_t size = (address + 3) / 4 * 4;
	if (size == 4)
		return 1;
	return (2u << highest_set_bit(size)) / 4;
}

// Output is not checked while it is written; a write that failed leaves
// the error flag set on the stream, and the run must not end in success.
void finish_output()
{
	if (std::fflush(stdout) == 0 && !std::ferror(stdout))
		return;
	const int error = errno != 0 ? errno : EIO;
	std::fprintf(stderr, "%s: Error writing standard output: %s\n",
	    program_name, std::strerror(error));
	std::exit(1);
}
