// SPDX-License-Identifier: ISC
// S-record reader: reads Motorola S-records from standard input one
// character at a time, checks each record and loads the data records into
// the memory image.  Any bad record ends the process with a message naming
// its record number.

#ifndef QUELTO_RECORD_READER_H
#define QUELTO_RECORD_READER_H

#include <cstddef>
#include <cstdint>

// Data records load at 16-bit offsets plus at most 250 bytes, so an
// accepted image never comes near this size.
constexpr std::size_t memory_size = 0x100020;

// The command's name, which begins each of its messages; each command's
// main file defines it.
extern const char program_name[];

extern std::uint8_t memory[memory_size];
extern std::uint32_t address;  // image size, and where the next byte goes

// One line on standard error, the command's name and `message`, then
// exit status 1.
[[noreturn]] void fail(const char *message);

void output_byte(unsigned value);

// Reads the input up to the end record, loading the data records into
// the image; reads nothing after it.  The input ending, or a NUL, outside
// a record before the end record fails with "Missing S8 end record", and
// an empty image with "No data in S rec file".
void read_image();

#endif
