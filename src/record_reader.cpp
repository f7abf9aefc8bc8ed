// SPDX-License-Identifier: ISC
// S-record reader.  Accepted records: S0 (header, checked and skipped),
// S3 (data, 32-bit address of which the low 16 bits are the load offset)
// and S7 or S9 with a 4-byte address (end of input).

#include "record_reader.h"

#include "platform.h"

#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::uint8_t memory[memory_size];
std::uint32_t address;

namespace {

int ch;                      // last character read: 0 to 255, or EOF
bool end_of_file;            // an end record has been accepted
bool parse_error;            // a non-hex character was met in this record
unsigned chksum;             // sum of the bytes decoded in this record
std::uint64_t record_number; // records started, counting from 1

[[noreturn]] void read_error()
{
	const int error = errno != 0 ? errno : EIO;
	std::fprintf(stderr, "%s: Error reading standard input: %s\n",
	    program_name, std::strerror(error));
	std::exit(1);
}

// Input is pulled a character at a time; the unlocked form skips taking
// the stream lock for every character, which a single-threaded tool does
// not need.  A read that fails is not the end of the input: reported as
// such, it would send the user looking for a fault in the file.
void getch()
{
	ch = read_char_unlocked(stdin);
	if (ch == EOF && std::ferror(stdin))
		read_error();
}

[[noreturn]] void record_error(const char *message)
{
	std::fprintf(stderr, "%s: %s in record number %" PRIu64 "\n",
	    program_name, message, record_number);
	std::exit(1);
}

// The value of every byte as a hex digit, -1 for those that are none.  A
// table rather than comparisons: in data the digits and letters come in no
// order a branch predictor could learn.
constexpr auto hex_digit_values = [] {
	std::array<signed char, 256> values{};
	for (int c = 0; c < 256; c++) {
		values[c] = -1;
		if (c >= '0' && c <= '9')
			values[c] = c - '0';
		if (c >= 'A' && c <= 'F')
			values[c] = c - 'A' + 10;
		if (c >= 'a' && c <= 'f')
			values[c] = c - 'a' + 10;
	}
	return values;
}();

int get_hex_digit()
{
	getch();
	const int value = ch == EOF ? -1 : hex_digit_values[ch];
	if (value >= 0)
		return value;
	parse_error = true;
	return 0;
}

// Once the record holds a bad character, each byte consumes one character
// only, so a broken record cannot swallow the records after it.
int get_hex_byte()
{
	int byte = get_hex_digit();
	if (!parse_error)
		byte = byte * 16 + get_hex_digit();
	chksum += byte;
	return byte;
}

// Big-endian value of `count` bytes.  A bad character stops the value at
// the byte that holds it; the rest of the field is left unread.
std::uint32_t get_hex_value(int count)
{
	std::uint32_t value = 0;
	for (int i = 0; i < count && !parse_error; i++)
		value = value << 8 | get_hex_byte();
	return value;
}

void process_record()
{
	record_number++;
	parse_error = false;
	chksum = 0;

	// A byte count too small to hold the record's address and checksum
	// would leave a negative number of bytes to read: it is rejected as
	// soon as the address has been read.
	getch();
	switch (ch) {
	case '0': {
		int count = get_hex_byte();
		get_hex_value(2);
		if (count < 3)
			record_error("Invalid byte count");
		for (int i = 3; i < count; i++)
			get_hex_byte();
		break;
	}
	case '3': {
		int count = get_hex_byte();
		std::uint32_t load_offset = get_hex_value(4) & 0xffff;
		if (count < 5)
			record_error("Invalid byte count");
		if (load_offset < address)
			record_error("Cannot handle address going backwards in S rec file");
		while (address < load_offset)
			output_byte(0);
		for (int i = 5; i < count; i++)
			output_byte(get_hex_byte());
		break;
	}
	case '7':
	case '9': {
		int count = get_hex_byte();
		get_hex_value(4);
		if (count != 5)
			record_error("Invalid end record");
		end_of_file = true;
		break;
	}
	default:
		record_error("Invalid or unsupported S record type");
	}

	if (parse_error)
		record_error("Illegal character");
	get_hex_byte();
	if ((chksum & 0xff) != 0xff)
		record_error("Invalid check sum");
}

} // namespace

void fail(const char *message)
{
	std::fprintf(stderr, "%s: %s\n", program_name, message);
	std::exit(1);
}

void output_byte(unsigned value)
{
	memory[address++] = value & 0xff;
}

void read_image()
{
	while (!end_of_file) {
		getch();
		if (ch == EOF || ch == '\0')
			fail("Missing S8 end record");
		if (ch == 'S')
			process_record();
	}
	if (address == 0)
		fail("No data in S rec file");
}
