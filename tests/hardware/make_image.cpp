// SPDX-License-Identifier: ISC
// Writes a random program image for the hardware tests, twice: as the
// bytes the ROM must serve (BASE.bin) and as the S-records to convert
// (BASE.srec).
//
// usage: make_image BASE LOAD_OFFSET DATA_BYTES RECORD_BYTES SEED [BASE_ADDRESS]
//
// The image is LOAD_OFFSET zero bytes, then DATA_BYTES random bytes sent
// in S3 records of RECORD_BYTES bytes.  The record that would leave the
// next one no 16-bit load offset takes all the remaining data, which must
// fit in 250 bytes.  The address bits above the load offset are random,
// since the converter ignores them, unless BASE_ADDRESS gives them.

#include "../srec_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char *message)
{
	std::fprintf(stderr, "make_image: %s\n", message);
	std::exit(2);
}

void write_file(const std::string &name, const std::string &content)
{
	std::FILE *file = std::fopen(name.c_str(), "wb");
	if (file == nullptr ||
	    std::fwrite(content.data(), 1, content.size(), file) != content.size() ||
	    std::fclose(file) != 0)
		fail("cannot write output");
}

} // namespace

int main(int argc, char *argv[])
{
	if (argc != 6 && argc != 7)
		fail("usage: make_image BASE LOAD_OFFSET DATA_BYTES RECORD_BYTES SEED "
		    "[BASE_ADDRESS]");
	const std::string base = argv[1];
	const unsigned long load_offset = std::strtoul(argv[2], nullptr, 0);
	const unsigned long data_bytes = std::strtoul(argv[3], nullptr, 0);
	const unsigned long record_bytes = std::strtoul(argv[4], nullptr, 0);
	std::mt19937 random(std::strtoul(argv[5], nullptr, 0));
	const bool random_base = argc == 6;
	const std::uint32_t base_address = random_base ? 0 : std::strtoul(argv[6], nullptr, 0);
	if (load_offset > 0xffff || record_bytes < 1 || record_bytes > 250)
		fail("load offset or record size out of range");

	std::vector<std::uint8_t> image(load_offset);
	for (unsigned long i = 0; i < data_bytes; i++)
		image.push_back(random() & 0xff);

	const char header[] = "make_image";
	std::string srec = srec_record('0', 0, 2,
	    reinterpret_cast<const std::uint8_t *>(header), sizeof header - 1) + "\n";
	for (unsigned long offset = load_offset; offset < image.size();) {
		std::size_t size = std::min<std::size_t>(record_bytes, image.size() - offset);
		if (offset + size > 0xffff)
			size = image.size() - offset;
		if (size > 250)
			fail("the last record would hold more than 250 bytes");
		const std::uint32_t high_bits = random_base ? random() : base_address;
		const std::uint32_t address = (high_bits & 0xffff0000) | offset;
		srec += srec_record('3', address, 4, &image[offset], size) + "\n";
		offset += size;
	}
	srec += srec_record('7', 0, 4, nullptr, 0) + "\n";

	write_file(base + ".bin", std::string(image.begin(), image.end()));
	write_file(base + ".srec", srec);
	return 0;
}
