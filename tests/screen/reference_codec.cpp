#include "reference_codec.h"

#include <algorithm>

#include "record.h"
#include "screen_codec.h"
#include "tile_order.h"

namespace tvk::reference {
namespace {

// Grid index of pixel number p in pixel order.
std::size_t pixel_grid_index(std::size_t p) {
    const std::size_t tile = p / kTilePixels;
    const std::size_t row = p % kTilePixels / kTileWidth;
    const std::size_t column = p % kTileWidth;
    return grid_index(kTileOrder[2 * tile] + column, kTileOrder[2 * tile + 1] + row);
}

}  // namespace

void decode_screen(const ScreenBlock& block, PixelGrid& grid) {
    std::array<ColourValue, kPaletteEntries> colours{};
    for (std::size_t n = 0; n < kPaletteEntries; ++n) {
        colours[n] = colour_from_palette_entry(read_u32(block.data() + kPaletteOffset + 4 * n));
    }
    std::size_t pixel = 0;
    unsigned index = 0;
    unsigned gathered = 0;
    for (std::size_t k = 0; k < kStreamWords; ++k) {
        const unsigned word =
            block[kPixelStreamOffset + 2 * k] << 8 | block[kPixelStreamOffset + 2 * k + 1];
        for (unsigned bit = 0; bit < 16; ++bit) {
            index |= ((word >> bit) & 1u) << gathered;
            if (++gathered == kIndexBits) {
                grid[pixel_grid_index(pixel++)] = colours[index];
                index = 0;
                gathered = 0;
            }
        }
    }
}

int encode_screen(const PixelGrid& grid, ScreenBlock& block) {
    std::fill(block.begin(), block.end(), std::uint8_t{0});
    std::array<std::uint32_t, kPaletteEntries> palette{};
    std::size_t next_free = 1;
    unsigned word = 0;
    unsigned filled = 0;
    std::size_t stream_at = kPixelStreamOffset;
    for (std::size_t p = 0; p < kPixelCount; ++p) {
        const std::uint32_t entry = palette_entry_from_colour(grid[pixel_grid_index(p)]);
        std::size_t index = 1;
        while (index < next_free && palette[index] != entry) {
            ++index;
        }
        if (index == next_free) {
            if (index == kPaletteEntries) {
                return kTooManyColours;
            }
            palette[index] = entry;
            write_u32(block.data() + kPaletteOffset + 4 * index, entry);
            ++next_free;
        }
        for (unsigned bit = 0; bit < kIndexBits; ++bit) {
            word |= ((index >> bit) & 1u) << filled;
            if (++filled == 16) {
                block[stream_at++] = static_cast<std::uint8_t>(word >> 8);
                block[stream_at++] = static_cast<std::uint8_t>(word);
                word = 0;
                filled = 0;
            }
        }
    }
    return kEncoded;
}

}  // namespace tvk::reference
