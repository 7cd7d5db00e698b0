#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive_format.h"

namespace tvk {

// An archive header read straight from a file's bytes, unscrambled, with the values the reader
// takes from it.
struct RawHeader {
    std::array<std::uint8_t, kRecordLength> plain{};
    std::uint32_t stored_checksum = 0;
    std::uint32_t correct_checksum = 0;
    // As the reader takes them: 16-bit values up to kMaxEntries entries, 32-bit values beyond.
    std::uint32_t entry_count = 0;
    std::uint32_t name_area = 0;
    std::uint32_t block_area = 0;

    bool checksum_matches() const { return stored_checksum == correct_checksum; }
    bool beyond_reader_limit() const { return entry_count > kMaxEntries; }
    std::uint32_t field_u32(std::size_t offset) const;
    std::uint16_t field_u16(std::size_t offset) const;
    // Where the last name record and the last screen block end, following the header's offsets.
    std::uint64_t implied_size() const;
};

// The header at the start of `file`; nullopt when the file is shorter than a header.
std::optional<RawHeader> read_raw_header(std::string_view file);

// Says that an archive of `entry_count` entries, more than kMaxEntries, is beyond what readers of
// the format read correctly.
std::string beyond_reader_limit_text(std::uint32_t entry_count);

}  // namespace tvk
