#include "archive_header.h"

#include <algorithm>

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
    header.entry_count = header.field_u16(kEntryCountField);
    header.name_area = header.field_u16(kNameAreaOffsetField);
    header.block_area = header.field_u16(kBlockAreaOffsetField);
    return header;
}

}  // namespace tvk
