#include "test_archives.h"

#include <algorithm>
#include <sstream>

#include "archive_file.h"
#include "archive_io.h"
#include "record.h"
#include "screen_codec.h"

namespace tvk::test {

PixelGrid solid_grid(ColourValue colour) {
    PixelGrid grid;
    grid.fill(colour);
    return grid;
}

ScreenBlock solid_block(ColourValue colour) {
    ScreenBlock block{};
    encode_screen(solid_grid(colour), block);
    return block;
}

PixelGrid screen_of(const EntryStore& store, std::size_t i) {
    PixelGrid grid;
    decode_screen(store.screen_block(i), grid);
    return grid;
}

void write_archive(const std::filesystem::path& file,
                   const std::vector<std::pair<std::string, ScreenBlock>>& entries) {
    EntryStore store;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        store.append_new_entry();
        NameBuffer& name = store.name_buffer(i);
        std::copy(entries[i].first.begin(), entries[i].first.end(), name.begin() + kNameOffset);
        write_u16(name.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
        store.screen_block(i) = entries[i].second;
    }
    save_archive_file(store, file);
}

void write_archive(const std::filesystem::path& file, const std::vector<TestEntry>& entries) {
    std::vector<std::pair<std::string, ScreenBlock>> blocks;
    for (const TestEntry& entry : entries) {
        blocks.emplace_back(entry.name, solid_block(entry.colour));
    }
    write_archive(file, blocks);
}

std::string header_only_archive(std::uint16_t count) {
    EntryStore empty;
    std::ostringstream stream;
    save_archive(empty, stream);
    std::string file = stream.str();
    auto* header = reinterpret_cast<std::uint8_t*>(file.data());
    scramble(header, kRecordLength);
    write_u16(header + kEntryCountField, count);
    write_u16(header + kBlockAreaOffsetField, static_cast<std::uint16_t>(block_area_offset(count)));
    write_u32(header, record_checksum(header, kRecordChecksumEnd));
    scramble(header, kRecordLength);
    return file.substr(0, kRecordLength);
}

std::string stored_name(const EntryStore& store, std::size_t i) {
    const NameBuffer& buffer = store.name_buffer(i);
    const auto begin = buffer.begin() + kNameOffset;
    return {begin, std::find(begin, begin + kNameLength, 0)};
}

Picture picture_with_colours(int colours) {
    Picture picture{kScreenWidth, kScreenHeight, std::vector<std::uint32_t>(kPixelCount)};
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const auto k = static_cast<std::uint32_t>((x * kScreenHeight + y) % colours);
            picture.argb[static_cast<std::size_t>(y * kScreenWidth + x)] =
                0xFF000000u | k << 16 | (k * 2) << 8 | (k * 3);
        }
    }
    return picture;
}

Picture solid_picture(int width, int height, std::uint32_t argb) {
    return {width, height,
            std::vector<std::uint32_t>(
                static_cast<std::size_t>(width) * static_cast<std::size_t>(height), argb)};
}

}  // namespace tvk::test
