// SPDX-License-Identifier: ISC
// quelto: converts a program image in Motorola S-records, read from
// standard input, into a Verilog ROM module written to standard output.
//
// usage: quelto [module_name] < program.srec > rom.v

#include "platform.h"
#include "record_reader.h"
#include "rom_writer.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char *default_module_name = "vemo_bootrom";

// Input arrives through a buffer far larger than stdio's default, so that
// a program image takes a handful of reads; reserved statically, like the
// image.
constexpr std::size_t input_buffer_size = 1 << 16;
char input_buffer[input_buffer_size];

[[noreturn]] void fail(const char *message)
{
	std::fprintf(stderr, "quelto: %s\n", message);
	std::exit(1);
}

// Output is not checked while it is written; a write that failed leaves
// the error flag set on the stream, and the run must not end in success.
void flush_output()
{
	if (std::fflush(stdout) == 0 && !std::ferror(stdout))
		return;
	const int error = errno != 0 ? errno : EIO;
	std::fprintf(stderr, "quelto: Error writing standard output: %s\n",
	    std::strerror(error));
	std::exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
	// Before the first byte moves, so that none is translated.
	use_binary_streams();
	std::setvbuf(stdin, input_buffer, _IOFBF, input_buffer_size);
	const char *module_name = argc > 1 ? argv[1] : default_module_name;

	// The header goes out before any input is read, so a failed run
	// leaves it alone on standard output.
	write_header();

	while (!end_of_file) {
		getch();
		if (ch == EOF || ch == '\0')
			fail("Missing S8 end record");
		if (ch == 'S')
			process_record();
	}
	if (address == 0)
		fail("No data in S rec file");
	write_rom_module(module_name);
	flush_output();
	return 0;
}
