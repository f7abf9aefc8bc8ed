// SPDX-License-Identifier: ISC
// Robustness test: runs quelto on generated inputs (valid images and
// mutations of them) or on saved inputs (the fuzzing corpus), and checks
// that every run ends as documented: status 0, an empty standard error and
// the header followed by one whole module; or status 1, the header alone
// and one line naming a known error.  A decoder written without quelto's
// code judges each input where it can: the module must then serve exactly
// the image it decoded, or the run must fail with the message it expects.
//
// usage: robustness [--words [--keep DIR]] QUELTO... -- HEADER WORKDIR generate SEED COUNT
//        robustness [--words [--keep DIR]] QUELTO... -- HEADER WORKDIR replay FILE...
//
// QUELTO... is the command that runs quelto: its path, after an emulator's
// command where quelto is built for another platform.  With --words it
// runs quelto-words instead, whose output is the words of the module's
// table, one a line, and whose failed run leaves nothing: HEADER is then
// an empty file.  With --keep, the output of quelto-words is a word file
// of another format, which the harness leaves to a reader of that format:
// each accepted run's output goes to DIR/N.out, and the words that the
// decoder expects, one a line, to DIR/N.words.

#include "srec_text.h"

#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

extern char **environ;

namespace {

using Image = std::vector<std::uint8_t>;

std::vector<char *> command;  // runs quelto; ends in a null pointer
std::string header, workdir;
bool words_output;            // the command is quelto-words
std::string keep_dir;         // where word files of other formats go
unsigned kept;
std::string program_prefix = "quelto: ";

std::string read_file(const std::string &name)
{
	std::string content;
	if (std::FILE *file = std::fopen(name.c_str(), "rb")) {
		char buffer[1 << 16];
		std::size_t n;
		while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
			content.append(buffer, n);
		std::fclose(file);
	}
	return content;
}

void write_file(const std::string &name, const std::string &content)
{
	std::FILE *file = std::fopen(name.c_str(), "wb");
	if (file == nullptr) {
		std::perror(name.c_str());
		std::exit(2);
	}
	std::fwrite(content.data(), 1, content.size(), file);
	std::fclose(file);
}

struct Run {
	int status;  // exit status, or -1 for a signal
	std::string out, err;
};

Run run_quelto(const std::string &input)
{
	const std::string in = workdir + "/input", out = workdir + "/stdout",
	    err = workdir + "/stderr";
	write_file(in, input);
	posix_spawn_file_actions_t files;
	posix_spawn_file_actions_init(&files);
	posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
	posix_spawn_file_actions_addopen(&files, 1, out.c_str(),
	    O_WRONLY | O_CREAT | O_TRUNC, 0644);
	posix_spawn_file_actions_addopen(&files, 2, err.c_str(),
	    O_WRONLY | O_CREAT | O_TRUNC, 0644);
	pid_t pid;
	int wait_status;
	if (posix_spawnp(&pid, command[0], &files, nullptr, command.data(), environ) != 0 ||
	    waitpid(pid, &wait_status, 0) != pid) {
		std::perror("robustness: cannot run quelto");
		std::exit(2);
	}
	posix_spawn_file_actions_destroy(&files);
	const int status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
	return {status, read_file(out), read_file(err)};
}

// What quelto must make of an input, found without its code: records are
// read field by field and checked in the order quelto documents.  A record
// with a character that is not a hex digit before its checksum is refused,
// but which of its checks reports it depends on details of the reader; a
// bad character in the checksum field leaves the outcome undecided.
struct Verdict {
	enum { accepted, refused, refused_in_record, undecided } outcome;
	Image image;        // when accepted
	std::string error;  // when refused: the whole line on standard error;
	                    // in a record: the line's end, naming the record
};

Verdict decode(const std::string &text)
{
	Image image;
	std::size_t at = 0;
	unsigned record_number = 0;
	bool well_formed = true;
	auto hex_byte = [&] {
		if (at + 2 > text.size() || !std::isxdigit(static_cast<unsigned char>(text[at])) ||
		    !std::isxdigit(static_cast<unsigned char>(text[at + 1]))) {
			well_formed = false;
			return 0u;
		}
		at += 2;
		return static_cast<unsigned>(std::stoul(text.substr(at - 2, 2), nullptr, 16));
	};
	auto naming_record = [&] {
		return " in record number " + std::to_string(record_number) + "\n";
	};
	auto refused = [&](const std::string &message) {
		return Verdict{Verdict::refused, {}, program_prefix + message + naming_record()};
	};
	auto refused_in_record = [&] {
		return Verdict{Verdict::refused_in_record, {}, naming_record()};
	};
	const Verdict undecided{Verdict::undecided, {}, ""};

	for (;;) {
		// Between records everything but NUL is skipped up to an "S".
		while (at < text.size() && text[at] != 'S' && text[at] != '\0')
			at++;
		if (at == text.size() || text[at] == '\0')
			return {Verdict::refused, {}, program_prefix + "Missing S8 end record\n"};
		record_number++;
		const char type = at + 1 < text.size() ? text[at + 1] : '\0';
		at += 2;
		if (type != '0' && type != '3' && type != '7' && type != '9')
			return refused("Invalid or unsupported S record type");

		const unsigned count = hex_byte();
		unsigned sum = count;
		std::vector<unsigned> address(type == '0' ? 2 : 4);
		for (unsigned &byte : address)
			sum += byte = hex_byte();
		if (!well_formed)
			return refused_in_record();
		const unsigned offset = address[address.size() - 2] << 8 | address.back();
		if (type == '0' && count < 3)
			return refused("Invalid byte count");
		if (type == '3' && count < 5)
			return refused("Invalid byte count");
		if (type == '3' && offset < image.size())
			return refused("Cannot handle address going backwards in S rec file");
		if ((type == '7' || type == '9') && count != 5)
			return refused("Invalid end record");

		Image data(count - address.size() - 1);
		for (auto &byte : data)
			sum += byte = hex_byte();
		if (!well_formed)
			return refused_in_record();
		sum += hex_byte();
		if (!well_formed)
			return undecided;
		if ((sum & 0xff) != 0xff)
			return refused("Invalid check sum");
		if (type == '3') {
			image.resize(offset);
			image.insert(image.end(), data.begin(), data.end());
		}
		if (type == '7' || type == '9') {
			if (image.empty())
				return {Verdict::refused, {}, program_prefix + "No data in S rec file\n"};
			return {Verdict::accepted, image, ""};
		}
	}
}

bool ends_with(const std::string &text, const std::string &end)
{
	return text.size() >= end.size() &&
	    text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool is_record_message(const std::string &line)
{
	static const char *const messages[] = {
		"Invalid or unsupported S record type",
		"Invalid byte count",
		"Cannot handle address going backwards in S rec file",
		"Invalid end record",
		"Illegal character",
		"Invalid check sum",
	};
	for (const char *message : messages) {
		const std::string prefix = std::string(message) + " in record number ";
		if (line.compare(0, prefix.size(), prefix) != 0)
			continue;
		const std::string number = line.substr(prefix.size());
		return !number.empty() && number[0] != '0' &&
		    number.find_first_not_of("0123456789") == std::string::npos;
	}
	return false;
}

// The words a module serves, one per row of its table, read back from its
// text; nothing when the text is not one whole module.
std::optional<std::vector<std::uint32_t>> module_words(const std::string &text)
{
	const std::string first = "module vemo_bootrom (mem_rdata, clk, mem_ad, mem_sel, mem_rd);\n";
	const std::string last = "\nendmodule\n";
	if (text.compare(0, first.size(), first) != 0 || !ends_with(text, last) ||
	    text.find("endmodule") != text.size() - last.size() + 1)
		return std::nullopt;

	std::vector<std::uint32_t> words;
	const std::string constant = "assign mem_rdata = m_rd ? 32'h";
	const std::size_t single = text.find(constant);
	if (single != std::string::npos) {
		words.push_back(std::stoul(text.substr(single + constant.size(), 8), nullptr, 16));
		return words;
	}
	const std::string row_start = "\n      'h", row_middle = ": rdata = 32'h";
	for (std::size_t at = 0; (at = text.find(row_start, at)) != std::string::npos;) {
		at += row_start.size();
		const std::size_t middle = text.find(row_middle, at);
		if (middle == std::string::npos || middle - at < 3 || middle - at > 8 ||
		    text.compare(middle + row_middle.size() + 8, 2, ";\n") != 0)
			return std::nullopt;
		const unsigned long index = std::stoul(text.substr(at, middle - at), nullptr, 16);
		if (index != words.size())
			return std::nullopt;
		words.push_back(std::stoul(text.substr(middle + row_middle.size(), 8), nullptr, 16));
		at = middle;
	}
	if (words.size() < 2 || (words.size() & (words.size() - 1)) != 0)
		return std::nullopt;
	return words;
}

// The words of a word file, one a line; nothing when the text is not one.
std::optional<std::vector<std::uint32_t>> file_words(const std::string &text)
{
	std::vector<std::uint32_t> words;
	for (std::size_t at = 0; at < text.size(); at += 9) {
		const std::string line = text.substr(at, 9);
		if (line.size() != 9 || line[8] != '\n' ||
		    line.find_first_not_of("0123456789abcdef") != 8)
			return std::nullopt;
		words.push_back(std::stoul(line.substr(0, 8), nullptr, 16));
	}
	if (words.empty() || (words.size() & (words.size() - 1)) != 0 || words.size() == 2)
		return std::nullopt;
	return words;
}

// What the module for `image` must serve: the single word, or a table up
// to the smallest power of two above the aligned size, zero past the image.
std::vector<std::uint32_t> expected_words(Image image)
{
	image.resize((image.size() + 3) / 4 * 4);
	std::size_t rows = 1;
	if (image.size() != 4)
		while (rows * 4 <= image.size())
			rows *= 2;
	std::vector<std::uint32_t> words(rows);
	for (std::size_t i = 0; i < image.size(); i++)
		words[i / 4] |= std::uint32_t{image[i]} << (8 * (i % 4));
	return words;
}

// Empty when the run ended as documented, else what went wrong.
std::string check(const std::string &input, const Run &run)
{
	const Verdict verdict = decode(input);
	if (run.status == 1) {
		if (verdict.outcome == Verdict::accepted)
			return "a valid input was refused: " + run.err;
		if (verdict.outcome == Verdict::refused && run.err != verdict.error)
			return "standard error is " + run.err + ", expected " + verdict.error;
		if (verdict.outcome == Verdict::refused_in_record &&
		    !ends_with(run.err, verdict.error))
			return "standard error is " + run.err + ", expected a line ending" + verdict.error;
		if (run.out != header)
			return "standard output is not what a failed run leaves";
		const std::string &prefix = program_prefix;
		if (run.err.compare(0, prefix.size(), prefix) != 0 ||
		    run.err.find('\n') != run.err.size() - 1)
			return "standard error is not one line of the command's: " + run.err;
		const std::string line = run.err.substr(prefix.size(),
		    run.err.size() - prefix.size() - 1);
		if (!is_record_message(line) && line != "Missing S8 end record" &&
		    line != "No data in S rec file")
			return "unknown message: " + run.err;
		return "";
	}
	if (run.status != 0)
		return "status " + std::to_string(run.status);
	if (verdict.outcome == Verdict::refused || verdict.outcome == Verdict::refused_in_record)
		return "an input that must be refused was accepted, expected " + verdict.error;
	if (!run.err.empty())
		return "status 0 with standard error: " + run.err;
	if (run.out.compare(0, header.size(), header) != 0)
		return "standard output does not begin with the header";
	const std::string written = run.out.substr(header.size());
	if (!keep_dir.empty()) {
		const std::string name = keep_dir + "/" + std::to_string(++kept);
		write_file(name + ".out", written);
		std::string expected;
		if (verdict.outcome == Verdict::accepted)
			for (const std::uint32_t word : expected_words(verdict.image)) {
				char line[10];
				std::snprintf(line, sizeof line, "%08lx\n",
				    static_cast<unsigned long>(word));
				expected += line;
			}
		write_file(name + ".words", expected);
		return "";
	}
	const auto words = words_output ? file_words(written) : module_words(written);
	if (!words)
		return "standard output is not the header and one whole module, or a word file";
	if (verdict.outcome == Verdict::accepted && *words != expected_words(verdict.image))
		return "the module does not serve the decoded image";
	return "";
}

// Generated inputs, as a list of records, each with its line end.
std::mt19937 random_engine;

unsigned pick(unsigned n)
{
	return random_engine() % n;
}

std::vector<std::uint8_t> random_bytes(unsigned n)
{
	std::vector<std::uint8_t> bytes(n);
	for (auto &byte : bytes)
		byte = random_engine() & 0xff;
	return bytes;
}

std::vector<std::string> valid_input()
{
	static const char *const line_ends[] = {"\n", "\r\n", "", "\n\n", " \t\r\n"};
	const std::string line_end = line_ends[pick(5)];
	const unsigned letter_case = pick(3);  // upper, lower or mixed
	std::vector<std::string> records;
	auto add = [&](char type, std::uint32_t address, int address_bytes,
	    const std::vector<std::uint8_t> &data) {
		std::string text = srec_record(type, address, address_bytes,
		    data.data(), data.size());
		for (std::size_t i = 2; i < text.size(); i++)
			if (letter_case == 1 || (letter_case == 2 && pick(2)))
				text[i] = std::tolower(static_cast<unsigned char>(text[i]));
		records.push_back(text + line_end);
	};
	auto maybe_header = [&] {
		if (pick(4) == 0)
			add('0', random_engine() & 0xffff, 2, random_bytes(pick(20)));
	};

	maybe_header();
	unsigned offset = pick(4) == 0 ? 0xff00 + pick(0x100) : pick(64);
	if (pick(50) == 0)
		offset = 0;  // a large image follows
	const unsigned data_records = pick(50) == 0 ? 300 : 1 + pick(12);
	for (unsigned i = 0; i < data_records && offset <= 0xffff; i++) {
		const unsigned length = pick(3) == 0 ? 1 + pick(250) : pick(33) + (i == 0);
		const std::uint32_t address = (random_engine() & 0xffff0000) | offset;
		add('3', address, 4, random_bytes(length));
		maybe_header();
		offset += length + (pick(3) == 0 ? pick(300) : 0);
	}
	add(pick(2) ? '7' : '9', random_engine(), 4, {});
	if (pick(4) == 0)
		records.push_back("trailing text, S1 records and all\n");
	return records;
}

std::string joined(const std::vector<std::string> &records)
{
	std::string text;
	for (const std::string &record : records)
		text += record;
	return text;
}

// A broken variant of a valid input: one or two random faults.
std::string mutated(std::vector<std::string> records)
{
	static const char hostile[] = {'\0', '\x80', '\xff', ' ', '\t', '\r',
		'\n', '\x01', '\x1b', 'G', 'S', 's', 'x', '\x7f'};
	const unsigned faults = 1 + pick(2);
	for (unsigned fault = 0; fault < faults; fault++) {
		std::string &record = records[pick(records.size())];
		if (record.empty())
			continue;
		switch (pick(10)) {
		case 0:  // a different hex digit
			record[pick(record.size())] = "0123456789abcdefABCDEF"[pick(22)];
			break;
		case 1:  // a hostile byte in any field
			record.insert(pick(record.size() + 1), 1, hostile[pick(sizeof hostile)]);
			break;
		case 2:
			record[pick(record.size())] = hostile[pick(sizeof hostile)];
			break;
		case 3:  // an unsupported type
			if (record.size() > 1)
				record[1] = "12456 8Zs"[pick(9)];
			break;
		case 4:  // a small or spoiled byte count
			if (record.size() > 3)
				record.replace(2, 2, pick(2) ? "0" + std::to_string(pick(5)) : "0G");
			break;
		case 5:  // out of order, or overlapping
			std::swap(record, records[pick(records.size())]);
			break;
		case 6:
			records.insert(records.begin() + pick(records.size()), record);
			break;
		case 7:  // a record address of exactly 64 KiB
			records.insert(records.begin() + pick(records.size()),
			    srec_record('3', 0x10000, 4, nullptr, 0) + "\n");
			break;
		case 8:  // a missing or short end record
			for (auto end = records.rbegin(); end != records.rend(); ++end)
				if (end->compare(0, 2, "S7") == 0 || end->compare(0, 2, "S9") == 0) {
					*end = pick(2) ? "" : "S9030000FC\n";
					break;
				}
			break;
		default: {  // the input ends inside a record
			const std::size_t index = &record - &records[0];
			record.resize(pick(record.size()));
			records.erase(records.begin() + index + 1, records.end());
			return joined(records);
		}
		}
	}
	return joined(records);
}

int failures;

void test(const std::string &input, const std::string &name)
{
	const std::string problem = check(input, run_quelto(input));
	if (problem.empty())
		return;
	const std::string saved = workdir + "/failure-" + std::to_string(++failures) + ".srec";
	write_file(saved, input);
	std::printf("%s: %s (input saved as %s)\n", name.c_str(), problem.c_str(), saved.c_str());
}

} // namespace

int main(int argc, char *argv[])
{
	// The command that runs quelto comes first, up to "--".
	int arg = 1;
	if (arg < argc && std::strcmp(argv[arg], "--words") == 0) {
		words_output = true;
		program_prefix = "quelto-words: ";
		arg++;
		if (arg + 1 < argc && std::strcmp(argv[arg], "--keep") == 0) {
			keep_dir = argv[arg + 1];
			arg += 2;
		}
	}
	while (arg < argc && std::strcmp(argv[arg], "--") != 0)
		command.push_back(argv[arg++]);
	command.push_back(nullptr);
	arg++;
	if (command.size() < 2 || argc - arg < 4) {
		std::fprintf(stderr, "usage: robustness [--words [--keep DIR]] QUELTO... -- "
		    "HEADER WORKDIR generate SEED COUNT | replay FILE...\n");
		return 2;
	}
	header = read_file(argv[arg]);
	workdir = argv[arg + 1];
	const std::string mode = argv[arg + 2];
	arg += 3;
	unsigned runs = 0;

	if (mode == "generate" && argc - arg == 2) {
		random_engine.seed(std::strtoul(argv[arg], nullptr, 0));
		const unsigned count = std::strtoul(argv[arg + 1], nullptr, 0);
		for (unsigned i = 0; i < count && failures < 10; i++) {
			const auto records = valid_input();
			const std::string input = joined(records);
			if (decode(input).outcome != Verdict::accepted) {
				std::printf("input %u: the generator wrote an invalid input\n", i);
				return 2;
			}
			test(input, "valid input " + std::to_string(i));
			test(mutated(records), "mutated input " + std::to_string(i));
			runs += 2;
		}
	} else {
		for (; arg < argc; arg++, runs++)
			test(read_file(argv[arg]), argv[arg]);
	}
	std::printf("%u runs, %d failed\n", runs, failures);
	return failures == 0 ? 0 : 1;
}
