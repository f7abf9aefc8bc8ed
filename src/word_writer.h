// SPDX-License-Identifier: ISC
// Word files: the words of the table that quelto writes for the image,
// row 0 first and padded with zero words, in the memory-initialisation
// formats of simulators and FPGA tools.  Each word is the 32-bit value
// that the module gives for its row.

#ifndef QUELTO_WORD_WRITER_H
#define QUELTO_WORD_WRITER_H

#include <cstdint>

enum class word_format {
	hex,        // 8 hex digits a line: $readmemh, icebram, XPM memories
	coe,        // Vivado's Block and Distributed Memory Generators
	mif,        // Quartus's Memory Initialization File
	intel_hex,  // Quartus's Intel HEX, addressed in words
	lattice,    // Lattice Diamond and Radiant .mem
	gowin,      // Gowin EDA .mi
	updatemem,  // the data file of Vivado's updatemem, addressed in bytes
};

// The format called `name` on the command line; false if none is.
bool find_word_format(const char *name, word_format *format);

// Writes `rows` rows in `format`.  For updatemem, `base` is the byte
// address of row 0, and `lane_bits` the width of the bit lanes when the
// memory's .mmi lists them from the least significant, 0 when from the
// most significant.
void write_word_file(word_format format, std::uint32_t rows,
    std::uint32_t base, unsigned lane_bits);

#endif
