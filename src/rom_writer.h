// SPDX-License-Identifier: ISC
// Verilog ROM writer: the generated file's header, and the module that
// serves the memory image as a 32-bit ROM on a synchronous read bus.

#ifndef QUELTO_ROM_WRITER_H
#define QUELTO_ROM_WRITER_H

void write_header();
void write_rom_module(const char *module_name);

#endif
