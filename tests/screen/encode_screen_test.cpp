#include <gtest/gtest.h>

#include <set>

#include "record.h"
#include "screen_codec.h"
#include "screen_grids.h"

namespace tvk {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes_of(const ScreenBlock& block, std::size_t from, std::size_t length) {
    return Bytes(block.begin() + static_cast<std::ptrdiff_t>(from),
                 block.begin() + static_cast<std::ptrdiff_t>(from + length));
}

std::uint32_t palette_word(const ScreenBlock& block, std::size_t n) {
    return read_u32(block.data() + kPaletteOffset + 4 * n);
}

ScreenBlock encoded(const PixelGrid& grid) {
    ScreenBlock block;
    block.fill(0xAB);  // every byte must be written
    EXPECT_EQ(encode_screen(grid, block), kEncoded);
    return block;
}

TEST(EncodeScreen, PacksAOneColourScreen) {
    const ScreenBlock block = encoded(test::uniform_grid(0x00336699));
    EXPECT_EQ(bytes_of(block, 0, 12), Bytes(12, 0));
    EXPECT_EQ(bytes_of(block, 12, 4), (Bytes{0x66, 0x99, 0x00, 0x33}));
    EXPECT_EQ(bytes_of(block, 16, kPixelStreamOffset - 16), Bytes(kPixelStreamOffset - 16, 0));
    const Bytes pattern = {0x10, 0x41, 0x41, 0x04, 0x04, 0x10};
    for (std::size_t at = kPixelStreamOffset; at < kUsedBlockSize; at += pattern.size()) {
        ASSERT_EQ(bytes_of(block, at, pattern.size()), pattern) << "offset " << at;
    }
    EXPECT_EQ(bytes_of(block, kUsedBlockSize, kBlockSize - kUsedBlockSize),
              Bytes(kBlockSize - kUsedBlockSize, 0));
}

TEST(EncodeScreen, PacksTheWorkedExample) {
    PixelGrid grid = test::uniform_grid(0x000000FF);
    grid[grid_index(1, 0)] = 0x0000FF00;
    grid[grid_index(2, 0)] = 0x00FF0000;
    const ScreenBlock block = encoded(grid);
    EXPECT_EQ(bytes_of(block, 8, 16), (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF,
                                             0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}));
    EXPECT_EQ(bytes_of(block, 24, kPixelStreamOffset - 24), Bytes(kPixelStreamOffset - 24, 0));
    EXPECT_EQ(bytes_of(block, kPixelStreamOffset, 8),
              (Bytes{0x30, 0x81, 0x41, 0x04, 0x04, 0x10, 0x10, 0x41}));
}

// Colours are numbered by first occurrence in pixel order, which differs from grid order:
// pixel (1, 0) is pixel 1 but grid index 112, pixel (0, 1) is pixel 8 but grid index 1.
TEST(EncodeScreen, NumbersColoursInPixelOrder) {
    PixelGrid grid = test::uniform_grid(0x00010101);
    grid[grid_index(1, 0)] = 0x00020202;
    grid[grid_index(0, 1)] = 0x00030303;
    const ScreenBlock block = encoded(grid);
    EXPECT_EQ(palette_word(block, 1), palette_entry_from_colour(0x00010101));
    EXPECT_EQ(palette_word(block, 2), palette_entry_from_colour(0x00020202));
    EXPECT_EQ(palette_word(block, 3), palette_entry_from_colour(0x00030303));
    EXPECT_EQ(palette_word(block, 4), 0u);
}

TEST(EncodeScreen, GivesBlackAnIndexLikeAnyColour) {
    PixelGrid grid = test::uniform_grid(0);
    grid[grid_index(119, 111)] = 0x00FFFFFF;
    const ScreenBlock block = encoded(grid);
    EXPECT_EQ(palette_word(block, 0), 0u);
    EXPECT_EQ(palette_word(block, 1), 0u);  // black, index 1
    EXPECT_EQ(palette_word(block, 2), palette_entry_from_colour(0x00FFFFFF));
    EXPECT_EQ(bytes_of(block, kPixelStreamOffset, 6), (Bytes{0x10, 0x41, 0x41, 0x04, 0x04, 0x10}));
    EXPECT_EQ(test::decoded(block), grid);
}

TEST(EncodeScreen, TreatsColoursDifferingOnlyInBits24To31AsOne) {
    PixelGrid grid = test::uniform_grid(0xFF0000FF);
    grid[grid_index(60, 60)] = 0x000000FF;
    grid[grid_index(0, 0)] = 0x7F0000FF;
    const ScreenBlock block = encoded(grid);
    EXPECT_EQ(palette_word(block, 1), palette_entry_from_colour(0x000000FF));
    EXPECT_EQ(palette_word(block, 2), 0u);
    EXPECT_EQ(test::decoded(block), test::uniform_grid(0x000000FF));
}

TEST(EncodeScreen, Accepts63ColoursAndRefuses64) {
    const auto colours = test::random_colours(64, 9, false);
    const std::vector<ColourValue> first_63(colours.begin(), colours.begin() + 63);
    const PixelGrid grid_63 = test::random_grid(first_63, 10);
    const ScreenBlock block = encoded(grid_63);
    EXPECT_NE(palette_word(block, 63), 0u);
    EXPECT_EQ(test::decoded(block), grid_63);

    PixelGrid grid_64 = grid_63;
    grid_64[grid_index(119, 111)] = colours[63];
    ScreenBlock refused{};
    EXPECT_EQ(encode_screen(grid_64, refused), kTooManyColours);
}

// What re-encoding a decoded block keeps: the picture. What it does not keep: the numbering,
// duplicate and unused entries, the third entry byte and every byte outside palette and stream.
TEST(EncodeScreen, ReencodingADecodedBlockKeepsOnlyThePicture) {
    ScreenBlock original = test::random_block(12, 8);
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        write_u32(original.data() + kPaletteOffset + 4 * n,
                  palette_entry_from_colour(0x00100000 * static_cast<ColourValue>(n % 6)));
    }
    original[kPaletteOffset + 2] = 0x77;  // third byte of entry 0
    const PixelGrid picture = test::decoded(original);
    const ScreenBlock block = encoded(picture);
    EXPECT_NE(block, original);
    EXPECT_EQ(test::decoded(block), picture);
    // Indices 0-7 use 6 colours (entries 0 and 6 alike, 1 and 7 alike): 6 entries from index 1.
    const std::set<ColourValue> colours(picture.begin(), picture.end());
    EXPECT_EQ(colours.size(), 6u);
    for (std::size_t n = 1; n <= 6; ++n) {
        EXPECT_EQ(colours.count(colour_from_palette_entry(palette_word(block, n))), 1u);
        EXPECT_EQ(block[kPaletteOffset + 4 * n + 2], 0);
    }
    for (std::size_t n = 7; n < kPaletteEntries; ++n) {
        EXPECT_EQ(palette_word(block, n), 0u);
    }
    EXPECT_EQ(palette_word(block, 0), 0u);
    EXPECT_EQ(bytes_of(block, 0, 8), Bytes(8, 0));
    EXPECT_EQ(bytes_of(block, kUsedBlockSize, kBlockSize - kUsedBlockSize),
              Bytes(kBlockSize - kUsedBlockSize, 0));
}

TEST(EncodeScreen, CannotReencodeABlockOf64DistinctColours) {
    ScreenBlock block = test::random_block(13, 64);
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        write_u32(block.data() + kPaletteOffset + 4 * n,
                  palette_entry_from_colour(static_cast<ColourValue>(0x010203 * n)));
    }
    const PixelGrid picture = test::decoded(block);
    ASSERT_EQ(std::set<ColourValue>(picture.begin(), picture.end()).size(), 64u);
    ScreenBlock again{};
    EXPECT_EQ(encode_screen(picture, again), kTooManyColours);
}

}  // namespace
}  // namespace tvk
