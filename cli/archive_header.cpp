#include "archive_header.h"

#include <algorithm>

#include "archive_io.h"
#include "record.h"

namespace tvk {

std::uint32_t RawHeader::field_u32(std::size_t offset) const {
    return read_u32(plain.data() + offset);
}

std::uint16_t RawHeader::field_u16(std::size_t offset) const {
    return read_u16(plain.data() + offset);
}

std::uint64_t RawHeader::implied_size() const {
    const std::uint64_t names_end = std::uint64_t{name_area} + kRecordLength * entry_count;
    const std::uint64_t blocks_end = std::uint64_t{block_area} + kBlockSize * entry_count;
    return std::max(names_end, blocks_end);
}

std::optional<RawHeader> read_raw_header(std::string_view file) {
    if (file.size() < kRecordLength) {
        return std::nullopt;
    }
    RawHeader header;
    std::copy_n(file.begin(), kRecordLength, header.plain.begin());
    scramble(header.plain.data(), kRecordLength);
    header.stored_checksum = read_u32(header.plain.data());
    header.correct_checksum = record_checksum(header.plain.data(), kRecordChecksumEnd);
    const ArchiveLayout layout = archive_layout(header.plain.data());
    header.entry_count = layout.entry_count;
    header.name_area = layout.name_area;
    header.block_area = layout.block_area;
    return header;
}

std::string beyond_reader_limit_text(std::uint32_t entry_count) {
    return "the archive holds " + std::to_string(entry_count) + " entries, more than " +
           std::to_string(kMaxEntries) + "; readers of the format read only " +
           std::to_string(kMaxEntries) + " entries correctly";
}

}  // namespace tvk
