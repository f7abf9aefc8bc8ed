// SPDX-License-Identifier: ISC
// Verilog ROM writer: the generated file's header, and the module that
// serves the memory image as a 32-bit ROM on a synchronous read bus.

#ifndef QUELTO_ROM_WRITER_H
#define QUELTO_ROM_WRITER_H

#include <cstdint>

void write_header();
void write_rom_module(const char *module_name);

// The rows of the module's table for the image: 1 for the single-word
// form, else the smallest power of two above the size in whole words.
std::uint32_t table_rows();

// Flushes standard output; a write that failed ends the run with status 1.
void finish_output();

#endif
