// SPDX-License-Identifier: ISC
// Writes Motorola S-record text for tests: the records the tools under
// test are given are built here, independently of quelto's reader.

#ifndef QUELTO_TESTS_SREC_TEXT_H
#define QUELTO_TESTS_SREC_TEXT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// One record of `type` ('0', '3', '7', ...) with an address of
// `address_bytes` bytes, in upper-case hex, without a line end.  The byte
// count covers address, data and checksum.
inline std::string srec_record(char type, std::uint32_t address,
    int address_bytes, const std::uint8_t *data, std::size_t size)
{
	std::string bytes;
	bytes += static_cast<char>(address_bytes + size + 1);
	for (int i = address_bytes - 1; i >= 0; i--)
		bytes += static_cast<char>(address >> (8 * i));
	bytes.append(reinterpret_cast<const char *>(data), size);

	unsigned sum = 0;
	for (unsigned char byte : bytes)
		sum += byte;
	bytes += static_cast<char>(~sum);

	std::string text = {'S', type};
	for (unsigned char byte : bytes) {
		char hex[3];
		std::snprintf(hex, sizeof hex, "%02X", byte);
		text += hex;
	}
	return text;
}

#endif
