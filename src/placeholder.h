// SPDX-License-Identifier: ISC
// Placeholder images: S-records of pseudo-random words, for a design that
// is built once and takes its firmware later, by a swap of its block RAM
// contents that must find every word of the placeholder again.

#ifndef QUELTO_PLACEHOLDER_H
#define QUELTO_PLACEHOLDER_H

#include <cstdint>

// Writes the S-records of an image of `rows` - 1 words, for which quelto
// writes a table of exactly `rows` rows (a power of two, 4 or more).
void write_placeholder(std::uint32_t rows);

#endif
