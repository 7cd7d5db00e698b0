#include "archive_io.h"

#include <array>
#include <cstring>
#include <istream>
#include <new>
#include <ostream>

#include "record.h"

namespace tvk {
namespace {

// Reads up to `length` bytes at `offset`; bytes past the end of the file are left as they are.
void read_at(std::istream& stream, std::uint64_t offset, std::uint8_t* buffer, std::size_t length) {
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(offset));
    stream.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(length));
}

void write_bytes(std::ostream& stream, const std::uint8_t* buffer, std::size_t length) {
    stream.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(length));
}

// Checksums, scrambles, writes and unscrambles one record in place.
void write_record(std::ostream& stream, std::uint8_t* record, std::size_t checksum_end,
                  std::size_t length) {
    write_u32(record, record_checksum(record, checksum_end));
    scramble(record, length);
    write_bytes(stream, record, length);
    scramble(record, length);
}

void fill_header(std::uint8_t* header, std::size_t entry_count) {
    write_u32(header + kFirstMagicOffset, kFirstMagic);
    write_u32(header + kSecondMagicOffset, kSecondMagic);
    std::memcpy(header + kSignatureOffset, kSignature, kSignatureLength);
    write_u32(header + kNameAreaOffsetField, kNameAreaOffset);
    write_u16(header + kScreenWidthField, kScreenWidth);
    write_u16(header + kScreenHeightField, kScreenHeight);
    write_u32(header + kBlockSizeField, static_cast<std::uint32_t>(kBlockSize));
    write_u32(header + kEntryCountField, static_cast<std::uint32_t>(entry_count));
    write_u32(header + kBlockAreaOffsetField,
              static_cast<std::uint32_t>(block_area_offset(entry_count)));
}

}  // namespace

int load_archive(EntryStore& store, std::istream& stream) {
    std::array<std::uint8_t, kRecordLength> header{};
    stream.clear();
    stream.seekg(0);
    stream.read(reinterpret_cast<char*>(header.data()), kRecordLength);
    if (static_cast<std::size_t>(stream.gcount()) < kRecordLength) {
        return kLoadTooShort;
    }
    scramble(header.data(), kRecordLength);
    if (record_checksum(header.data(), kRecordChecksumEnd) != read_u32(header.data())) {
        return kLoadBadChecksum;
    }
    const std::size_t count = read_u16(header.data() + kEntryCountField);
    const std::uint64_t name_area = read_u16(header.data() + kNameAreaOffsetField);
    const std::uint64_t block_area = read_u16(header.data() + kBlockAreaOffsetField);
    try {
        store.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            store.append_new_entry();
            std::uint8_t* name = store.name_buffer(i).data();
            read_at(stream, name_area + kRecordLength * i, name, kRecordLength);
            scramble(name, kRecordLength);
            std::uint8_t* block = store.screen_block(i).data();
            read_at(stream, block_area + kBlockSize * i, block, kBlockSize);
            scramble(block, kBlockSize);
        }
    } catch (const std::bad_alloc&) {
        store.clear();
        return kLoadOutOfMemory;
    }
    return kLoaded;
}

void save_archive(EntryStore& store, std::ostream& stream) {
    std::array<std::uint8_t, kRecordLength> header{};
    for (int i = 0; i < 4; ++i) {
        write_bytes(stream, header.data(), kRecordLength);
    }
    for (std::size_t i = 0; i < store.count(); ++i) {
        write_record(stream, store.name_buffer(i).data(), kRecordChecksumEnd, kRecordLength);
    }
    write_bytes(stream, header.data(), kRecordLength);
    for (std::size_t i = 0; i < store.count(); ++i) {
        write_record(stream, store.screen_block(i).data(), kBlockSize, kBlockSize);
    }
    fill_header(header.data(), store.count());
    stream.seekp(0);
    write_u32(header.data(), record_checksum(header.data(), kRecordChecksumEnd));
    scramble(header.data(), kRecordLength);
    write_bytes(stream, header.data(), kRecordLength);
    for (std::size_t i = 0; i < kHeaderTailCopies; ++i) {
        write_bytes(stream, header.data() + kHeaderTailSource, kRecordLength - kHeaderTailSource);
    }
}

}  // namespace tvk
