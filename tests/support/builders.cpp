#include "builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
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

PixelGrid make_grid(const std::function<ColourValue(int x, int y)>& colour) {
    PixelGrid grid{};
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))] =
                colour(x, y);
        }
    }
    return grid;
}

PixelGrid grid_with_colours(int colours, ColourValue base) {
    return make_grid([&](int x, int y) {
        return base + static_cast<ColourValue>((x + y) % colours) * 0x00030507u;
    });
}

PixelGrid random_grid(std::size_t count, unsigned seed, bool noisy_upper_bits) {
    std::mt19937 random(seed);
    std::vector<ColourValue> colours;
    for (std::set<ColourValue> seen; colours.size() < count;) {
        const ColourValue colour = random() & 0x00FFFFFFu;
        if (seen.insert(colour).second) {
            colours.push_back(colour | (noisy_upper_bits ? random() & 0xFF000000u : 0));
        }
    }
    PixelGrid grid;
    for (std::size_t i = 0; i < kPixelCount; ++i) {
        grid[i] = colours[i < count ? i : random() % count];
    }
    std::shuffle(grid.begin(), grid.end(), random);
    return grid;
}

ScreenBlock block_of(const PixelGrid& grid) {
    ScreenBlock block{};
    EXPECT_EQ(encode_screen(grid, block), kEncoded);
    return block;
}

PixelGrid screen_of(const ScreenBlock& block) {
    PixelGrid grid{};
    decode_screen(block, grid);
    return grid;
}

PixelGrid screen_of(const EntryStore& store, std::size_t i) {
    return screen_of(store.screen_block(i));
}

void add_entry(EntryStore& store, const std::string& latin1, const ScreenBlock& block) {
    const std::size_t i = store.count();
    store.append_new_entry();
    NameBuffer& name = store.name_buffer(i);
    name.fill(0);
    std::copy(latin1.begin(), latin1.end(), name.begin() + kNameOffset);
    write_u16(name.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
    store.screen_block(i) = block;
}

EntryStore store_of(const std::vector<TestEntry>& entries) {
    EntryStore store;
    for (const TestEntry& entry : entries) {
        add_entry(store, entry.name, block_of(entry.screen));
    }
    return store;
}

EntryStore numbered_store(std::size_t count) {
    EntryStore store;
    for (std::size_t i = 0; i < count; ++i) {
        std::mt19937 random(static_cast<unsigned>(i));
        ScreenBlock block;
        for (auto& byte : block) {
            byte = static_cast<std::uint8_t>(random());
        }
        add_entry(store, "Entry " + std::to_string(i), block);
    }
    return store;
}

std::string archive_bytes(EntryStore& store) {
    std::ostringstream stream(std::ios::binary);
    save_archive(store, stream);
    return std::move(stream).str();
}

int load_status(EntryStore& store, const std::string& bytes) {
    std::istringstream stream(bytes, std::ios::binary);
    return load_archive(store, stream);
}

EntryStore load(const std::string& bytes) {
    EntryStore store;
    EXPECT_EQ(load_status(store, bytes), kLoaded);
    return store;
}

void write_archive(const std::filesystem::path& file, const std::vector<TestEntry>& entries) {
    EntryStore store = store_of(entries);
    ASSERT_EQ(save_archive_file(store, file), std::error_code());
}

std::string stored_name(const EntryStore& store, std::size_t i) {
    const NameBuffer& buffer = store.name_buffer(i);
    const auto begin = buffer.begin() + kNameOffset;
    return {begin, std::find(begin, begin + kNameLength, 0)};
}

std::string plain_header(std::uint32_t count) {
    std::string header(kRecordLength, '\0');
    auto* bytes = reinterpret_cast<std::uint8_t*>(header.data());
    write_u32(bytes + kFirstMagicOffset, kFirstMagic);
    write_u32(bytes + kSecondMagicOffset, kSecondMagic);
    std::memcpy(bytes + kSignatureOffset, kSignature, kSignatureLength);
    write_u32(bytes + kNameAreaOffsetField, kNameAreaOffset);
    write_u16(bytes + kScreenWidthField, kScreenWidth);
    write_u16(bytes + kScreenHeightField, kScreenHeight);
    write_u32(bytes + kBlockSizeField, static_cast<std::uint32_t>(kBlockSize));
    write_u32(bytes + kEntryCountField, count);
    write_u32(bytes + kBlockAreaOffsetField, static_cast<std::uint32_t>(block_area_offset(count)));
    return header;
}

std::string stored_record(std::string plain) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(plain.data());
    write_u32(bytes, record_checksum(bytes, kRecordChecksumEnd));
    scramble(bytes, plain.size());
    return plain;
}

std::string header_only_archive(std::uint16_t count) {
    return stored_record(plain_header(count));
}

void set_stored_checksum(std::string& file, std::size_t offset, std::size_t length,
                         std::uint32_t checksum) {
    auto* record = reinterpret_cast<std::uint8_t*>(file.data() + offset);
    scramble(record, length);
    write_u32(record, checksum);
    scramble(record, length);
}

Picture picture_of(const PixelGrid& grid, std::uint32_t alpha) {
    Picture picture{kScreenWidth, kScreenHeight, std::vector<std::uint32_t>(kPixelCount)};
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const ColourValue value =
                grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))];
            // Colour values are stored blue, green, red from the low byte up.
            picture.argb[static_cast<std::size_t>(y * kScreenWidth + x)] =
                alpha | (value & 0xFFu) << 16 | (value & 0xFF00u) | (value >> 16 & 0xFFu);
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
