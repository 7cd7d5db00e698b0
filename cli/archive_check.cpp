#include "archive_check.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "archive_header.h"
#include "archive_io.h"
#include "cli_support.h"
#include "record.h"

namespace tvk {
namespace {

std::string checksum_problem(std::string_view record, std::uint32_t stored, std::uint32_t correct) {
    return std::string(record) + ": stored checksum " + hex_text(stored, 8) + ", correct " +
           hex_text(correct, 8);
}

// Checks one record of `length` bytes at `offset`, checksummed up to `checksum_end`.
void check_record(std::string_view file, std::uint64_t offset, std::size_t length,
                  std::size_t checksum_end, const std::string& record,
                  std::vector<std::string>& problems) {
    const std::uint64_t available = offset < file.size() ? file.size() - offset : 0;
    if (available == 0) {
        problems.push_back(record + ": missing, the file ends at byte " +
                           std::to_string(file.size()));
        return;
    }
    if (available < length) {
        problems.push_back(record + ": cut short, only " + std::to_string(available) + " of " +
                           std::to_string(length) + " bytes are in the file");
        return;
    }
    std::vector<std::uint8_t> bytes(file.begin() + static_cast<std::ptrdiff_t>(offset),
                                    file.begin() + static_cast<std::ptrdiff_t>(offset + length));
    scramble(bytes.data(), length);
    const std::uint32_t stored = read_u32(bytes.data());
    const std::uint32_t correct = record_checksum(bytes.data(), checksum_end);
    if (stored != correct) {
        problems.push_back(checksum_problem(record, stored, correct));
    }
}

}  // namespace

std::vector<std::string> archive_problems(std::string_view file) {
    const std::optional<RawHeader> header = read_raw_header(file);
    if (!header) {
        return {"header: the file is " + std::to_string(file.size()) +
                " bytes long, shorter than the 64-byte header"};
    }
    if (!header->checksum_matches()) {
        // Without a valid header nothing else in the file can be located.
        return {checksum_problem("header", header->stored_checksum, header->correct_checksum)};
    }
    if (header->entry_count > max_loaded_entries(file.size())) {
        // One line per missing record would be millions of lines.
        return {"header: announces " + std::to_string(header->entry_count) +
                " entries, more than a file of " + std::to_string(file.size()) +
                " bytes can stand for"};
    }
    std::vector<std::string> problems;
    if (header->beyond_reader_limit()) {
        problems.push_back("header: " + beyond_reader_limit_text(header->entry_count));
    }
    for (std::uint64_t i = 0; i < header->entry_count; ++i) {
        check_record(file, header->name_area + kRecordLength * i, kRecordLength, kRecordChecksumEnd,
                     "name record " + std::to_string(i), problems);
    }
    for (std::uint64_t i = 0; i < header->entry_count; ++i) {
        check_record(file, header->block_area + kBlockSize * i, kBlockSize, kBlockSize,
                     "screen block " + std::to_string(i), problems);
    }
    return problems;
}

}  // namespace tvk
