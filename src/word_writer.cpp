// SPDX-License-Identifier: ISC
// Word files.  Every format writes the same rows, from row_word(), one
// row a line; only the lines around them and the form of a row differ.
// Hex digits are lower case where the format's own tools write them so
// (hex, COE), upper case elsewhere; every line ends in a line feed.

#include "word_writer.h"

#include "record_reader.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr struct {
	const char *name;
	word_format format;
} formats[] = {
	{"hex", word_format::hex},
	{"coe", word_format::coe},
	{"mif", word_format::mif},
	{"intel-hex", word_format::intel_hex},
	{"lattice", word_format::lattice},
	{"gowin", word_format::gowin},
	{"updatemem", word_format::updatemem},
};

// The word that the module gives for row `row`: little-endian in the
// image, zero past it (the image is followed by zero bytes in memory).
std::uint32_t row_word(std::uint32_t row)
{
	if (row >= (address + 3) / 4)
		return 0;
	const std::uint8_t *bytes = &memory[4 * row];
	return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
	    std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
}

// updatemem deals each word's bits out to the .mmi's bit lanes, the
// first lane listed taking the most significant: with the lanes listed
// from the least significant, the word goes out lane by lane from its
// lowest.
std::uint32_t in_lane_order(std::uint32_t word, unsigned lane_bits)
{
	if (lane_bits == 0)
		return word;
	const std::uint32_t lane = (std::uint32_t{1} << lane_bits) - 1;
	std::uint32_t ordered = 0;
	for (unsigned at = 0; at < 32; at += lane_bits)
		ordered = ordered << lane_bits | (word >> at & lane);
	return ordered;
}

// An Intel HEX data record of one word at word address `row`: the count,
// the address and the type, the word's bytes from the most significant,
// and the checksum that makes them all sum to 0.
void write_intel_hex_record(std::uint32_t row, std::uint32_t word)
{
	unsigned sum = 4 + (row >> 8) + row;
	for (unsigned shift = 0; shift < 32; shift += 8)
		sum += word >> shift;
	std::printf(":04%04X00%08X%02X\n", static_cast<unsigned>(row),
	    static_cast<unsigned>(word), -sum & 0xff);
}

} // namespace

bool find_word_format(const char *name, word_format *format)
{
	for (const auto &known : formats) {
		if (std::strcmp(name, known.name) == 0) {
			*format = known.format;
			return true;
		}
	}
	return false;
}

void write_word_file(word_format format, std::uint32_t rows,
    std::uint32_t base, unsigned lane_bits)
{
	const unsigned long depth = rows;
	switch (format) {
	case word_format::coe:
		std::printf("; %lu words of 32 bits, row 0 first, from quelto-words\n"
		    "memory_initialization_radix=16;\n"
		    "memory_initialization_vector=\n", depth);
		break;
	case word_format::mif:
		std::printf("-- %lu words of 32 bits, from quelto-words\n"
		    "WIDTH=32;\n"
		    "DEPTH=%lu;\n"
		    "ADDRESS_RADIX=HEX;\n"
		    "DATA_RADIX=HEX;\n"
		    "CONTENT BEGIN\n", depth, depth);
		break;
	case word_format::lattice:
		std::printf("#Format=Hex\n"
		    "#Depth=%lu\n"
		    "#Width=32\n"
		    "#AddrRadix=3\n"
		    "#DataRadix=3\n"
		    "#Data\n", depth);
		break;
	case word_format::gowin:
		std::printf("#File_format=Hex\n"
		    "#Address_depth=%lu\n"
		    "#Data_width=32\n", depth);
		break;
	case word_format::updatemem:
		std::printf("@%08lX\n", static_cast<unsigned long>(base));
		break;
	case word_format::hex:
	case word_format::intel_hex:
		break;
	}

	for (std::uint32_t row = 0; row < rows; row++) {
		const std::uint32_t value = row_word(row);
		const unsigned long word = value;
		switch (format) {
		case word_format::hex:
			std::printf("%08lx\n", word);
			break;
		case word_format::coe:
			std::printf("%08lx%c\n", word, row + 1 < rows ? ',' : ';');
			break;
		case word_format::mif:
			std::printf("%lX : %08lX;\n", static_cast<unsigned long>(row), word);
			break;
		case word_format::intel_hex:
			write_intel_hex_record(row, value);
			break;
		case word_format::lattice:
		case word_format::gowin:
			std::printf("%08lX\n", word);
			break;
		case word_format::updatemem:
			std::printf("%08lX\n", static_cast<unsigned long>(
			    in_lane_order(value, lane_bits)));
			break;
		}
	}

	switch (format) {
	case word_format::mif:
		std::fputs("END;\n", stdout);
		break;
	case word_format::intel_hex:
		std::fputs(":00000001FF\n", stdout);
		break;
	default:
		break;
	}
}
