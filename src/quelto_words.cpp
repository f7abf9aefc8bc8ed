// SPDX-License-Identifier: ISC
// quelto-words: writes the words of the table that quelto makes of a
// program image, in the word file of a simulator or an FPGA tool (hex, as
// $readmemh and icebram read it, by default); or the S-records of a
// placeholder image whose table has a given number of rows.  It reads and
// checks its input as quelto does, and writes nothing until the whole
// input has been read and checked.
//
// usage: quelto-words [--format FORMAT] [rows] < program.srec > file
//        quelto-words --placeholder rows > placeholder.srec

#include "placeholder.h"
#include "platform.h"
#include "record_reader.h"
#include "rom_writer.h"
#include "word_writer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The largest image, a last record of 250 bytes at load offset 0xFFFF,
// has a table of 32,768 rows.  A placeholder has one word less than its
// table has rows, and the largest one that fits in 64 KiB has 16,383.  No
// image has a table of 2 rows: one word is a constant, two take 4 rows.
constexpr std::uint32_t largest_table = 32768;
constexpr std::uint32_t smallest_placeholder = 4;
constexpr std::uint32_t largest_placeholder = 16384;
// updatemem's addresses are 32-bit byte addresses: the largest table
// must fit above its base.
constexpr std::uint32_t highest_base = 0xfffe0000;

constexpr const char *usage_text =
    "usage: quelto-words [--format FORMAT] [rows] < program.srec > file\n"
    "       quelto-words --format updatemem [--base ADDRESS] "
    "[--lsb-first BITS]\n"
    "                    [rows] < program.srec > file.mem\n"
    "       quelto-words --placeholder rows > placeholder.srec\n"
    "formats: hex (the default), coe, mif, intel-hex, lattice, gowin, "
    "updatemem\n";

// A bad command line: what is wrong, then the usage, and status 2, which
// no input gives.
[[noreturn]] void usage_error(const char *what, const char *argument)
{
	std::fprintf(stderr, "%s: %s%s\n%s", program_name, what, argument, usage_text);
	std::exit(2);
}

// A number in `radix`, 10 or 16, of at most `most`; false for none.
bool parse_number(const char *text, unsigned radix, std::uint32_t most,
    std::uint32_t *value)
{
	static const char digits[] = "0123456789abcdef";
	std::uint32_t number = 0;
	const char *at = text;
	for (; *at != '\0'; at++) {
		const char *digit = std::strchr(digits, *at | 0x20);
		if (digit == nullptr || static_cast<unsigned>(digit - digits) >= radix)
			return false;
		const std::uint64_t next = std::uint64_t{number} * radix + (digit - digits);
		if (next > most)
			return false;
		number = static_cast<std::uint32_t>(next);
	}
	*value = number;
	return at != text;
}

// A count of rows: a power of two from `least` to `most`, in decimal.
std::uint32_t parse_rows(const char *text, std::uint32_t least,
    std::uint32_t most)
{
	std::uint32_t rows = 0;
	if (!parse_number(text, 10, most, &rows) || rows < least ||
	    (rows & (rows - 1)) != 0) {
		char what[96];
		std::snprintf(what, sizeof what,
		    "rows must be a power of two from %lu to %lu, not ",
		    static_cast<unsigned long>(least), static_cast<unsigned long>(most));
		usage_error(what, text);
	}
	return rows;
}

// When argv[*i] is the option `name`, its value, after "=" or in the next
// argument, goes to *value.
bool take_option(const char *name, int argc, char *argv[], int *i,
    const char **value)
{
	const std::size_t length = std::strlen(name);
	const char *argument = argv[*i];
	if (std::strncmp(argument, name, length) != 0 ||
	    (argument[length] != '\0' && argument[length] != '='))
		return false;
	if (*value != nullptr)
		usage_error("option given twice: ", name);
	if (argument[length] == '=')
		*value = argument + length + 1;
	else if (*i + 1 < argc)
		*value = argv[++*i];
	else
		usage_error("no value after ", name);
	return true;
}

// The fewest rows that hold the image's words.
std::uint32_t rows_needed()
{
	const std::uint32_t words = (address + 3) / 4;
	std::uint32_t rows = 1;
	while (rows < words)
		rows *= 2;
	return rows;
}

void write_image_words(word_format format, std::uint32_t rows,
    std::uint32_t base, unsigned lane_bits)
{
	// The input is read as quelto reads it, with the same messages.
	read_image();
	if (rows == 0) {
		rows = table_rows();
	} else if (rows_needed() > rows) {
		// The rows that fit the words, for a swap, and the table's, which
		// quelto_words_rom needs to answer every address as quelto's
		// module does.
		char message[128];
		std::snprintf(message, sizeof message,
		    "Image of %lu bytes needs %lu rows, more than %lu; "
		    "quelto's table for it has %lu",
		    static_cast<unsigned long>(address),
		    static_cast<unsigned long>(rows_needed()),
		    static_cast<unsigned long>(rows),
		    static_cast<unsigned long>(table_rows()));
		fail(message);
	}
	write_word_file(format, rows, base, lane_bits);
}

} // namespace

const char program_name[] = "quelto-words";

int main(int argc, char *argv[])
{
	use_binary_streams();

	// Options, each with its value after "=" or in the next argument, and
	// operands: rows, at most one, or the rows of --placeholder; --help
	// and --version come alone.
	const char *format_name = nullptr, *base_text = nullptr,
	    *lanes_text = nullptr, *placeholder = nullptr, *rows_text = nullptr;
	for (int i = 1; i < argc; i++) {
		const char *argument = argv[i];
		if (argument[0] != '-' || argument[1] == '\0') {
			if (rows_text != nullptr)
				usage_error("wrong number of arguments", "");
			rows_text = argument;
		} else if (std::strcmp(argument, "--help") == 0 ||
		    std::strcmp(argument, "--version") == 0) {
			if (argc != 2)
				usage_error("wrong number of arguments", "");
			if (std::strcmp(argument, "--help") == 0)
				std::fputs(usage_text, stdout);
			else
				std::printf("%s %s\n", program_name, QUELTO_VERSION);
			finish_output();
			return 0;
		} else if (!take_option("--format", argc, argv, &i, &format_name) &&
		    !take_option("--base", argc, argv, &i, &base_text) &&
		    !take_option("--lsb-first", argc, argv, &i, &lanes_text) &&
		    !take_option("--placeholder", argc, argv, &i, &placeholder)) {
			usage_error("unknown option ", argument);
		}
	}

	if (placeholder != nullptr) {
		if (format_name != nullptr || base_text != nullptr ||
		    lanes_text != nullptr || rows_text != nullptr)
			usage_error("--placeholder takes no other argument", "");
		write_placeholder(parse_rows(placeholder, smallest_placeholder,
		    largest_placeholder));
		finish_output();
		return 0;
	}

	word_format format = word_format::hex;
	if (format_name != nullptr && !find_word_format(format_name, &format))
		usage_error("unknown format ", format_name);
	if ((base_text != nullptr || lanes_text != nullptr) &&
	    format != word_format::updatemem)
		usage_error("--base and --lsb-first are for --format updatemem", "");
	std::uint32_t base = 0, lane_bits = 0;
	if (base_text != nullptr) {
		const char *digits = base_text;
		if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
			digits += 2;
		if (!parse_number(digits, 16, highest_base, &base) || base % 4 != 0)
			usage_error("the base must be a multiple of 4 from 0 to "
			    "0xfffe0000, in hex, not ", base_text);
	}
	if (lanes_text != nullptr &&
	    (!parse_number(lanes_text, 10, 16, &lane_bits) || lane_bits == 0 ||
	     (lane_bits & (lane_bits - 1)) != 0))
		usage_error("the lanes must be 1, 2, 4, 8 or 16 bits wide, not ",
		    lanes_text);
	write_image_words(format,
	    rows_text != nullptr ? parse_rows(rows_text, 1, largest_table) : 0,
	    base, lane_bits);
	finish_output();
	return 0;
}
