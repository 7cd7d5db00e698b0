#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "archive_format.h"

namespace tvk {

inline constexpr std::size_t kPixelCount = std::size_t{kScreenWidth} * kScreenHeight;  // 13440
inline constexpr std::size_t kTileWidth = 8;
inline constexpr std::size_t kTileHeight = 16;
inline constexpr std::size_t kTileCount = 105;
inline constexpr std::size_t kTilePixels = kTileWidth * kTileHeight;  // 128
inline constexpr std::size_t kPaletteOffset = 8;
inline constexpr std::size_t kPaletteEntries = 64;
inline constexpr std::size_t kMaxEncodedColours = 63;  // palette entry 0 is never assigned
inline constexpr std::size_t kPixelStreamOffset = kPaletteOffset + 4 * kPaletteEntries;  // 264
inline constexpr std::size_t kIndexBits = 6;
inline constexpr std::size_t kStreamWords = kPixelCount * kIndexBits / 16;  // 5040

static_assert(kPixelStreamOffset + 2 * kStreamWords == kUsedBlockSize);

// A colour value: 0x00BBGGRR, red in the low byte.
using ColourValue = std::uint32_t;
// A 120 x 112 screen, column-major: pixel (x, y) at index x * 112 + y.
using PixelGrid = std::array<ColourValue, kPixelCount>;

// The palette slot of every pixel, in the same order.
using SlotGrid = std::array<std::uint8_t, kPixelCount>;

constexpr std::size_t grid_index(std::size_t x, std::size_t y) {
    return x * kScreenHeight + y;
}

}  // namespace tvk
