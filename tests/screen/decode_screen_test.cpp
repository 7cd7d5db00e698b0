#include <gtest/gtest.h>

#include "record.h"
#include "screen_codec.h"
#include "screen_grids.h"

namespace tvk {
namespace {

void set_palette(ScreenBlock& block, std::size_t n, ColourValue colour) {
    write_u32(block.data() + kPaletteOffset + 4 * n, palette_entry_from_colour(colour));
}

// A block whose palette entry n holds colour n + 1, so that a decoded value tells its index.
ScreenBlock block_of_numbered_colours() {
    ScreenBlock block{};
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        set_palette(block, n, static_cast<ColourValue>(n + 1));
    }
    return block;
}

TEST(DecodeScreen, TurnsAZeroBlockIntoBlack) {
    const ScreenBlock block{};
    PixelGrid grid;
    grid.fill(0xFFFFFFFF);
    decode_screen(block, grid);
    EXPECT_EQ(grid, PixelGrid{});
}

// Pixel by pixel in pixel order, including the indices that straddle two stream words
// (p mod 8 = 2 or 5) and the last pixel: a lone index lands on the right pixel with its bits in
// the right order.
TEST(DecodeScreen, PlacesEachIndexOfTheStreamOnItsPixel) {
    const std::vector<std::size_t> pixels = {0,    1,    2,    3,     5,     7,    8,
                                             10,   13,   127,  128,   130,   133,  3584,
                                             6786, 9000, 9005, 13437, 13438, 13439};
    for (const std::size_t p : pixels) {
        for (const unsigned index : {1u, 32u, 33u, 62u, 63u}) {
            ScreenBlock block = block_of_numbered_colours();
            test::set_pixel_index(block, p, index);
            PixelGrid expected;
            expected.fill(1);  // index 0 everywhere else
            expected[test::grid_index_of_pixel(p)] = index + 1;
            ASSERT_EQ(test::decoded(block), expected) << "pixel " << p << " index " << index;
        }
    }
}

TEST(DecodeScreen, UsesEveryPaletteEntryIncludingEntryZero) {
    ScreenBlock block = block_of_numbered_colours();
    for (std::size_t p = 0; p < kPixelCount; ++p) {
        test::set_pixel_index(block, p, static_cast<unsigned>(p % kPaletteEntries));
    }
    const PixelGrid grid = test::decoded(block);
    for (std::size_t p = 0; p < kPixelCount; ++p) {
        ASSERT_EQ(grid[test::grid_index_of_pixel(p)], p % kPaletteEntries + 1) << "pixel " << p;
    }
}

TEST(DecodeScreen, ClearsBits24To31AndReadsTheEntryBytesAsGreenRedBlue) {
    ScreenBlock block{};
    const std::uint8_t entry[] = {0x66, 0x99, 0xEE, 0x33};
    std::copy(std::begin(entry), std::end(entry), block.begin() + kPaletteOffset);
    EXPECT_EQ(test::decoded(block), test::uniform_grid(0x00336699));
}

TEST(DecodeScreen, IgnoresTheBytesOutsidePaletteColoursAndStream) {
    const ScreenBlock original = test::random_block(5, 64);
    ScreenBlock changed = original;
    for (std::size_t k = 0; k < 8; ++k) {
        changed[k] ^= 0xFF;
    }
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        changed[kPaletteOffset + 4 * n + 2] ^= 0xFF;
    }
    for (std::size_t k = kUsedBlockSize; k < kBlockSize; ++k) {
        changed[k] ^= 0xFF;
    }
    EXPECT_EQ(test::decoded(changed), test::decoded(original));
}

TEST(DecodeScreen, OverwritesEveryValueOfTheGrid) {
    const ScreenBlock block = test::random_block(6, 64);
    PixelGrid from_zero{};
    decode_screen(block, from_zero);
    PixelGrid from_other = test::uniform_grid(0xFF123456);
    decode_screen(block, from_other);
    EXPECT_EQ(from_other, from_zero);
    EXPECT_TRUE(std::all_of(from_zero.begin(), from_zero.end(),
                            [](ColourValue v) { return (v >> 24) == 0; }));
}

}  // namespace
}  // namespace tvk
