#include "screen_codec.h"

#include <gtest/gtest.h>

#include <random>

#include "builders.h"
#include "record.h"
#include "reference_codec.h"
#include "tile_order.h"

namespace tvk {
namespace {

std::string bytes_of(const ScreenBlock& block, std::size_t from, std::size_t length) {
    return {block.begin() + static_cast<std::ptrdiff_t>(from),
            block.begin() + static_cast<std::ptrdiff_t>(from + length)};
}

// The table against its rule: 32 x 32 tile groups cut short at the right and bottom edges, taken
// in vertical bands from the left, and within a group tile column by tile column from the top.
TEST(TileOrder, FollowsTheRuleOfGroupsBandsAndColumns) {
    std::vector<unsigned> order;
    for (unsigned left = 0; left < kScreenWidth; left += 32) {
        for (unsigned top = 0; top < kScreenHeight; top += 32) {
            for (unsigned x = left; x < std::min(left + 32, unsigned{kScreenWidth}); x += 8) {
                for (unsigned y = top; y < std::min(top + 32, unsigned{kScreenHeight}); y += 16) {
                    order.insert(order.end(), {x, y});
                }
            }
        }
    }
    EXPECT_EQ(order, std::vector<unsigned>(kTileOrder.begin(), kTileOrder.end()));
}

// The worked examples: a screen of one colour, and one whose first three pixels in pixel order
// are red, green and blue, every other pixel red.
TEST(ScreenCodec, EncodesTheWorkedExamplesByteForByte) {
    const ScreenBlock one = test::block_of(test::solid_grid(0x00336699));
    EXPECT_EQ(bytes_of(one, 0, kPixelStreamOffset),
              std::string(12, '\0') + "\x66\x99" + '\0' + "\x33" + std::string(248, '\0'));
    for (std::size_t at = kPixelStreamOffset; at < kUsedBlockSize; at += 6) {
        ASSERT_EQ(bytes_of(one, at, 6), "\x10\x41\x41\x04\x04\x10") << at;
    }
    PixelGrid grid = test::solid_grid(0x000000FF);
    grid[grid_index(1, 0)] = 0x0000FF00;
    grid[grid_index(2, 0)] = 0x00FF0000;
    const ScreenBlock three = test::block_of(grid);
    EXPECT_EQ(bytes_of(three, kPaletteOffset, 16), std::string(5, '\0') + "\xFF" +
                                                       std::string(2, '\0') + "\xFF" +
                                                       std::string(6, '\0') + "\xFF");
    EXPECT_EQ(bytes_of(three, kPixelStreamOffset, 8), "\x30\x81\x41\x04\x04\x10\x10\x41");
}

// Random screens of 1 to 63 colours, some with noise in bits 24-31, encode to the plain encoder's
// block, whatever the block held, and decode back without bits 24-31; 64 colours and more are
// refused by both.
TEST(ScreenCodec, EncodesLikeThePlainEncoderAndDecodesBack) {
    for (const std::size_t count : {1, 2, 17, 62, 63, 64, 65, 5000}) {
        for (const bool noisy : {false, true}) {
            const auto seed = static_cast<unsigned>(2 * count + noisy);
            const PixelGrid grid = test::random_grid(count, seed, noisy);
            ScreenBlock block;
            block.fill(0xAB);
            ScreenBlock expected{};
            ASSERT_EQ(encode_screen(grid, block), count < 64 ? kEncoded : kTooManyColours) << count;
            ASSERT_EQ(reference::encode_screen(grid, expected),
                      count < 64 ? kEncoded : kTooManyColours);
            if (count < 64) {
                EXPECT_EQ(block, expected) << count << " colours, noisy " << noisy;
                PixelGrid plain = grid;
                for (ColourValue& value : plain) {
                    value &= 0x00FFFFFFu;
                }
                EXPECT_EQ(test::screen_of(block), plain) << count << " colours, noisy " << noisy;
            }
        }
    }
}

// Random blocks whose pixels use the first n palette entries, entry 0 among them, decode like the
// plain decoder; their screens re-encode like the plain encoder does, unless they show 64 colours.
TEST(ScreenCodec, DecodesRandomBlocksLikeThePlainDecoder) {
    for (unsigned n = 1; n <= kPaletteEntries; n += 3) {
        std::mt19937 random(n);
        ScreenBlock block;
        for (auto& byte : block) {
            byte = static_cast<std::uint8_t>(random());
        }
        for (std::size_t p = 0; p < kPixelCount; ++p) {
            reference::set_pixel_index(block, p, static_cast<unsigned>(random() % n));
        }
        PixelGrid expected{};
        reference::decode_screen(block, expected);
        const PixelGrid screen = test::screen_of(block);
        ASSERT_EQ(screen, expected) << n << " entries";
        ScreenBlock again{};
        ScreenBlock plain{};
        EXPECT_EQ(encode_screen(screen, again), n < kPaletteEntries ? kEncoded : kTooManyColours);
        EXPECT_EQ(reference::encode_screen(screen, plain),
                  n < kPaletteEntries ? kEncoded : kTooManyColours);
        EXPECT_TRUE(n == kPaletteEntries || again == plain) << n << " entries";
    }
}

}  // namespace
}  // namespace tvk
