#pragma once

#include "entry_store.h"
#include "screen_format.h"

namespace tvk {

inline constexpr int kEncoded = 0;
inline constexpr int kTooManyColours = 1;

// Palette entry bytes (green, red, 0, blue) read as a little-endian word, from a colour value.
constexpr std::uint32_t palette_entry_from_colour(ColourValue v) {
    return ((v & 0xFFFF00FFu) << 8) | ((v >> 8) & 0xFFu);
}
constexpr ColourValue colour_from_palette_entry(std::uint32_t entry) {
    return ((entry >> 24) << 16) | ((entry & 0xFFu) << 8) | ((entry >> 8) & 0xFFu);
}

// Overwrites every value of `grid` with the screen that `block` holds. Cannot fail.
void decode_screen(const ScreenBlock& block, PixelGrid& grid);

// Overwrites every value of `slots` with the palette slot (0-63) that the block gives each pixel.
void decode_screen_slots(const ScreenBlock& block, SlotGrid& slots);

// Builds a new block from `grid`: colours numbered 1, 2, ... by first occurrence in pixel order.
// Returns kTooManyColours on a 64th distinct colour, leaving `block` unusable.
int encode_screen(const PixelGrid& grid, ScreenBlock& block);

}  // namespace tvk
