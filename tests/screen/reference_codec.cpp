#include "reference_codec.h"

#include "record.h"
#include "screen_codec.h"
#include "tile_order.h"

namespace tvk::reference {
namespace {

// The byte that holds stream bit s.
std::size_t stream_byte(std::size_t s) {
    return kPixelStreamOffset + 2 * (s / 16) + (s % 16 < 8 ? 1 : 0);
}

std::uint32_t palette_entry(const ScreenBlock& block, std::size_t n) {
    return read_u32(block.data() + kPaletteOffset + 4 * n);
}

}  // namespace

std::size_t grid_index_of_pixel(std::size_t p) {
    const std::size_t tile = p / kTilePixels;
    return grid_index(kTileOrder[2 * tile] + p % kTileWidth,
                      kTileOrder[2 * tile + 1] + p % kTilePixels / kTileWidth);
}

unsigned pixel_index(const ScreenBlock& block, std::size_t p) {
    unsigned index = 0;
    for (std::size_t j = 0; j < kIndexBits; ++j) {
        const std::size_t s = kIndexBits * p + j;
        index |= ((block[stream_byte(s)] >> (s % 8)) & 1u) << j;
    }
    return index;
}

void set_pixel_index(ScreenBlock& block, std::size_t p, unsigned index) {
    for (std::size_t j = 0; j < kIndexBits; ++j) {
        const std::size_t s = kIndexBits * p + j;
        const auto bit = static_cast<std::uint8_t>(1u << (s % 8));
        block[stream_byte(s)] = static_cast<std::uint8_t>(
            (index >> j) & 1u ? block[stream_byte(s)] | bit : block[stream_byte(s)] & ~bit);
    }
}

void decode_screen(const ScreenBlock& block, PixelGrid& grid) {
    for (std::size_t p = 0; p < kPixelCount; ++p) {
        grid[grid_index_of_pixel(p)] =
            colour_from_palette_entry(palette_entry(block, pixel_index(block, p)));
    }
}

int encode_screen(const PixelGrid& grid, ScreenBlock& block) {
    block.fill(0);
    std::size_t assigned = 1;  // palette entry 0 is never assigned
    for (std::size_t p = 0; p < kPixelCount; ++p) {
        const std::uint32_t entry = palette_entry_from_colour(grid[grid_index_of_pixel(p)]);
        std::size_t index = 1;
        while (index < assigned && palette_entry(block, index) != entry) {
            ++index;
        }
        if (index == kPaletteEntries) {
            return kTooManyColours;
        }
        if (index == assigned) {
            write_u32(block.data() + kPaletteOffset + 4 * index, entry);
            ++assigned;
        }
        set_pixel_index(block, p, static_cast<unsigned>(index));
    }
    return kEncoded;
}

}  // namespace tvk::reference
