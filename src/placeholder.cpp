// SPDX-License-Identifier: ISC
// Placeholder images.  The words must be distinct and non-zero, or a swap
// cannot tell one row from another, and the same on every run and every
// platform: xorshift32 gives each non-zero 32-bit value once in its
// period, from a fixed seed, with nothing but unsigned 32-bit arithmetic.

#include "placeholder.h"

#include <cstdio>

namespace {

constexpr std::uint32_t seed = 0x51ced0de;

// Data bytes per S3 record, as srec_cat writes by default.
constexpr unsigned record_data_bytes = 32;

std::uint32_t next_word(std::uint32_t word)
{
	word ^= word << 13;
	word ^= word >> 17;
	word ^= word << 5;
	return word;
}

// One record of `type` with a 2- or 4-byte address and `size` data bytes,
// its checksum the ones' complement of the sum of the bytes before it.
void write_record(char type, std::uint32_t address, unsigned address_bytes,
    const std::uint8_t *data, unsigned size)
{
	const unsigned count = address_bytes + size + 1;
	unsigned sum = count;
	std::printf("S%c%02X", type, count);
	for (unsigned i = address_bytes; i-- > 0;) {
		const unsigned byte = address >> (8 * i) & 0xff;
		sum += byte;
		std::printf("%02X", byte);
	}
	for (unsigned i = 0; i < size; i++) {
		sum += data[i];
		std::printf("%02X", data[i]);
	}
	std::printf("%02X\n", ~sum & 0xff);
}

} // namespace

void write_placeholder(std::uint32_t rows)
{
	static const char title[] = "placeholder";
	write_record('0', 0, 2, reinterpret_cast<const std::uint8_t *>(title),
	    sizeof title - 1);

	// Little-endian words, as the ROM reads its image.
	const std::uint32_t size = 4 * (rows - 1);
	std::uint8_t data[record_data_bytes];
	std::uint32_t word = seed;
	for (std::uint32_t offset = 0; offset < size;) {
		unsigned length = 0;
		for (; length < record_data_bytes && offset + length < size; length += 4) {
			word = next_word(word);
			for (unsigned byte = 0; byte < 4; byte++)
				data[length + byte] = word >> (8 * byte) & 0xff;
		}
		write_record('3', offset, 4, data, length);
		offset += length;
	}
	write_record('7', 0, 4, nullptr, 0);
}
