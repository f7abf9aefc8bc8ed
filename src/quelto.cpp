// SPDX-License-Identifier: ISC
// quelto: converts a program image in Motorola S-records, read from
// standard input, into a Verilog ROM module written to standard output.
//
// usage: quelto [module_name] < program.srec > rom.v

#include "platform.h"
#include "record_reader.h"
#include "rom_writer.h"

#include <cstddef>
#include <cstdio>

namespace {

constexpr const char *default_module_name = "vemo_bootrom";

// Input arrives through a buffer far larger than stdio's default, so that
// a program image takes a handful of reads; reserved statically, like the
// image.
constexpr std::size_t input_buffer_size = 1 << 16;
char input_buffer[input_buffer_size];

} // namespace

const char program_name[] = "quelto";

int main(int argc, char *argv[])
{
	// Before the first byte moves, so that none is translated.
	use_binary_streams();
	std::setvbuf(stdin, input_buffer, _IOFBF, input_buffer_size);
	const char *module_name = argc > 1 ? argv[1] : default_module_name;

	// The header goes out before any input is read, so a failed run
	// leaves it alone on standard output.
	write_header();

	read_image();
	write_rom_module(module_name);
	finish_output();
	return 0;
}
