// SPDX-License-Identifier: ISC
// quelto-words: writes the words of the table that quelto makes of a
// program image, one a line in hex, as $readmemh and icebram read them; or
// the S-records of a placeholder image whose table has a given number of
// rows.  It reads and checks its input as quelto does, and writes nothing
// until the whole input has been read and checked.
//
// usage: quelto-words [rows] < program.srec > program.hex
//        quelto-words --placeholder rows > placeholder.srec

#include "placeholder.h"
#include "platform.h"
#include "record_reader.h"
#include "rom_writer.h"

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

constexpr const char *usage_text =
    "usage: quelto-words [rows] < program.srec > program.hex\n"
    "       quelto-words --placeholder rows > placeholder.srec\n";

// A bad command line: what is wrong, then the usage, and status 2, which
// no input gives.
[[noreturn]] void usage_error(const char *what, const char *argument)
{
	std::fprintf(stderr, "%s: %s%s\n%s", program_name, what, argument, usage_text);
	std::exit(2);
}

// A count of rows: a power of two from `least` to `most`, in decimal.
std::uint32_t parse_rows(const char *text, std::uint32_t least, std::uint32_t most)
{
	std::uint32_t rows = 0;
	const char *digit = text;
	for (; *digit >= '0' && *digit <= '9' && rows <= most; digit++)
		rows = rows * 10 + (*digit - '0');
	if (digit == text || *digit != '\0' || rows < least || rows > most ||
	    (rows & (rows - 1)) != 0) {
		char what[96];
		std::snprintf(what, sizeof what,
		    "rows must be a power of two from %lu to %lu, not ",
		    static_cast<unsigned long>(least), static_cast<unsigned long>(most));
		usage_error(what, text);
	}
	return rows;
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

void write_image_words(std::uint32_t rows)
{
	// The input is read as quelto reads it, with the same messages.
	while (!end_of_file) {
		getch();
		if (ch == EOF || ch == '\0')
			fail("Missing S8 end record");
		if (ch == 'S')
			process_record();
	}
	if (address == 0)
		fail("No data in S rec file");

	if (rows == 0) {
		rows = table_rows();
	} else if (rows_needed() > rows) {
		char message[96];
		std::snprintf(message, sizeof message,
		    "Image of %lu bytes needs %lu rows, more than %lu",
		    static_cast<unsigned long>(address),
		    static_cast<unsigned long>(rows_needed()),
		    static_cast<unsigned long>(rows));
		fail(message);
	}
	write_words(rows);
}

} // namespace

const char program_name[] = "quelto-words";

int main(int argc, char *argv[])
{
	use_binary_streams();

	// An option comes first, and the operands follow it: rows, at most
	// one, without an option; one with --placeholder; none with --help
	// and --version.
	const char *option = argc > 1 && argv[1][0] == '-' ? argv[1] : "";
	const bool has_option = *option != '\0';
	const int operands = argc - 1 - has_option;
	int most = 0;
	if (!has_option || std::strcmp(option, "--placeholder") == 0)
		most = 1;
	else if (std::strcmp(option, "--help") != 0 && std::strcmp(option, "--version") != 0)
		usage_error("unknown option ", option);
	if (operands > most || (has_option && operands < most))
		usage_error("wrong number of arguments", "");

	if (!has_option)
		write_image_words(operands == 1 ? parse_rows(argv[1], 1, largest_table) : 0);
	else if (std::strcmp(option, "--placeholder") == 0)
		write_placeholder(parse_rows(argv[2], smallest_placeholder, largest_placeholder));
	else if (std::strcmp(option, "--help") == 0)
		std::fputs(usage_text, stdout);
	else
		std::printf("%s %s\n", program_name, QUELTO_VERSION);
	finish_output();
	return 0;
}
