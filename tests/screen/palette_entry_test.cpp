#include <gtest/gtest.h>

#include "screen_codec.h"

namespace tvk {
namespace {

// Entry bytes (green, red, 0, blue) read as one little-endian word.
constexpr std::uint32_t entry_word(std::uint8_t green, std::uint8_t red, std::uint8_t third,
                                   std::uint8_t blue) {
    return std::uint32_t{green} | std::uint32_t{red} << 8 | std::uint32_t{third} << 16 |
           std::uint32_t{blue} << 24;
}

TEST(PaletteEntry, HoldsGreenRedZeroBlue) {
    EXPECT_EQ(palette_entry_from_colour(0x00336699), entry_word(0x66, 0x99, 0x00, 0x33));
    EXPECT_EQ(colour_from_palette_entry(entry_word(0x66, 0x99, 0x00, 0x33)), 0x00336699u);
    EXPECT_EQ(palette_entry_from_colour(0x000000FF), entry_word(0x00, 0xFF, 0x00, 0x00));
    EXPECT_EQ(palette_entry_from_colour(0x0000FF00), entry_word(0xFF, 0x00, 0x00, 0x00));
    EXPECT_EQ(palette_entry_from_colour(0x00FF0000), entry_word(0x00, 0x00, 0x00, 0xFF));
}

TEST(PaletteEntry, DropsBits24To31AndIgnoresTheThirdByte) {
    EXPECT_EQ(palette_entry_from_colour(0xFF0000FF), palette_entry_from_colour(0x000000FF));
    EXPECT_EQ(palette_entry_from_colour(0xA5FFFFFF), entry_word(0xFF, 0xFF, 0x00, 0xFF));
    EXPECT_EQ(colour_from_palette_entry(entry_word(0x12, 0x34, 0xEE, 0x56)), 0x00561234u);
    EXPECT_EQ(colour_from_palette_entry(0xFFFFFFFF), 0x00FFFFFFu);
}

}  // namespace
}  // namespace tvk
