#include "archive_bytes.h"

#include <cstring>
#include <random>
#include <sstream>

#include "archive_io.h"
#include "record.h"

namespace tvk::test {

void append_entry(EntryStore& store, const std::string& name, unsigned seed) {
    store.append_new_entry();
    const std::size_t i = store.count() - 1;
    NameBuffer& buffer = store.name_buffer(i);
    std::memcpy(buffer.data() + kNameOffset, name.data(), name.size());
    write_u16(buffer.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
    std::mt19937 random(seed);
    for (auto& byte : store.screen_block(i)) {
        byte = static_cast<std::uint8_t>(random());
    }
}

EntryStore store_of(std::size_t count) {
    EntryStore store;
    for (std::size_t i = 0; i < count; ++i) {
        append_entry(store, "Entry " + std::to_string(i), static_cast<unsigned>(i));
    }
    return store;
}

Bytes save_to_bytes(EntryStore& store) {
    std::ostringstream stream;
    save_archive(store, stream);
    const std::string text = std::move(stream).str();
    return Bytes(text.begin(), text.end());
}

int load_from_bytes(EntryStore& store, const Bytes& bytes) {
    std::istringstream stream(std::string(bytes.begin(), bytes.end()));
    return load_archive(store, stream);
}

Bytes plain_header(std::uint32_t count) {
    Bytes header(kRecordLength, 0);
    write_u32(header.data() + kFirstMagicOffset, kFirstMagic);
    write_u32(header.data() + kSecondMagicOffset, kSecondMagic);
    std::memcpy(header.data() + kSignatureOffset, kSignature, kSignatureLength);
    write_u32(header.data() + kNameAreaOffsetField, kNameAreaOffset);
    write_u16(header.data() + kScreenWidthField, kScreenWidth);
    write_u16(header.data() + kScreenHeightField, kScreenHeight);
    write_u32(header.data() + kBlockSizeField, static_cast<std::uint32_t>(kBlockSize));
    write_u32(header.data() + kEntryCountField, count);
    write_u32(header.data() + kBlockAreaOffsetField,
              static_cast<std::uint32_t>(block_area_offset(count)));
    return header;
}

Bytes stored_record(Bytes plain) {
    write_u32(plain.data(), record_checksum(plain.data(), kRecordChecksumEnd));
    scramble(plain.data(), kRecordLength);
    return plain;
}

}  // namespace tvk::test
