#include "archive_io.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <istream>
#include <ostream>

#include "record.h"

namespace tvk {
namespace {

// The most entries past the end of a file that a load takes: all that a 16-bit count announces.
constexpr std::uint64_t kMaxEntriesPastTheEnd = 0xFFFF;

// Reads the byte at `offset`. When the file does not hold it, returns false and lowers
// `past_the_end`, the offset from which on every byte is known to lie past the end of the file:
// the end is learnt from reads alone, since a stream need not be able to tell its size.
bool read_byte_at(std::istream& stream, std::uint64_t offset, std::uint64_t& past_the_end,
                  char& byte) {
    if (offset >= past_the_end) {
        return false;
    }
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(offset));
    if (stream.get(byte)) {
        return true;
    }
    past_the_end = offset;
    return false;
}

// Reads and unscrambles the `length`-byte record at `offset` into a buffer the caller gets only
// when the file holds some of it; past the end of the file the entry keeps its zero stand-in.
// Bytes the file does not supply stay zero.
template <typename GetBuffer>
void read_record(std::istream& stream, std::uint64_t& past_the_end, std::uint64_t offset,
                 std::size_t length, GetBuffer get_buffer) {
    char first = 0;
    if (!read_byte_at(stream, offset, past_the_end, first)) {
        return;
    }
    std::uint8_t* buffer = get_buffer();
    buffer[0] = static_cast<std::uint8_t>(first);
    stream.read(reinterpret_cast<char*>(buffer + 1), static_cast<std::streamsize>(length - 1));
    const auto read = static_cast<std::uint64_t>(stream.gcount());
    if (read < length - 1) {
        past_the_end = std::min(past_the_end, offset + 1 + read);
    }
    scramble(buffer, length);
}

void write_bytes(std::ostream& stream, const std::uint8_t* buffer, std::size_t length) {
    stream.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(length));
}

// A blank record is all zero bytes, whose checksum is zero and which scrambles to itself: it is
// stored as it is, without giving the entry a buffer of its own.
void write_blank(std::ostream& stream, std::size_t length) {
    static const std::array<std::uint8_t, kBlockSize> zeros{};
    write_bytes(stream, zeros.data(), length);
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

ArchiveLayout archive_layout(const std::uint8_t* plain_header) {
    const std::uint32_t count = read_u32(plain_header + kEntryCountField);
    if (count > kMaxEntries) {
        return {count, read_u32(plain_header + kNameAreaOffsetField),
                read_u32(plain_header + kBlockAreaOffsetField)};
    }
    return {read_u16(plain_header + kEntryCountField),
            read_u16(plain_header + kNameAreaOffsetField),
            read_u16(plain_header + kBlockAreaOffsetField)};
}

std::uint64_t max_loaded_entries(std::uint64_t file_size) {
    return file_size / kBlockSize + kMaxEntriesPastTheEnd;
}

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
    const ArchiveLayout layout = archive_layout(header.data());
    std::uint64_t past_the_end = UINT64_MAX;
    if (layout.entry_count > kMaxEntriesPastTheEnd) {
        // As many entries as max_loaded_entries allows need a file that holds this byte.
        const std::uint64_t last_needed =
            (layout.entry_count - kMaxEntriesPastTheEnd) * std::uint64_t{kBlockSize} - 1;
        char byte = 0;
        if (!read_byte_at(stream, last_needed, past_the_end, byte)) {
            return kLoadTooManyEntries;
        }
    }
    store.reserve(layout.entry_count);
    // Area by area, each in file order: the stream's buffer then serves one record after another
    // instead of being read again for every name and every block.
    for (std::size_t i = 0; i < layout.entry_count; ++i) {
        store.append_new_entry();
        read_record(stream, past_the_end, layout.name_area + std::uint64_t{kRecordLength} * i,
                    kRecordLength, [&] { return store.name_buffer(i).data(); });
    }
    for (std::size_t i = 0; i < layout.entry_count; ++i) {
        read_record(stream, past_the_end, layout.block_area + std::uint64_t{kBlockSize} * i,
                    kBlockSize, [&] { return store.screen_block(i).data(); });
    }
    return kLoaded;
}

void save_archive(EntryStore& store, std::ostream& stream, const BlockWait& wait_for_block) {
    std::array<std::uint8_t, kRecordLength> header{};
    for (int i = 0; i < 4; ++i) {
        write_bytes(stream, header.data(), kRecordLength);
    }
    for (std::size_t i = 0; i < store.count(); ++i) {
        if (store.name_is_blank(i)) {
            write_blank(stream, kRecordLength);
        } else {
            write_record(stream, store.name_buffer(i).data(), kRecordChecksumEnd, kRecordLength);
        }
    }
    write_bytes(stream, header.data(), kRecordLength);
    for (std::size_t i = 0; i < store.count(); ++i) {
        if (wait_for_block) {
            wait_for_block(i);
        }
        if (store.block_is_blank(i)) {
            write_blank(stream, kBlockSize);
        } else {
            write_record(stream, store.screen_block(i).data(), kBlockSize, kBlockSize);
        }
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
