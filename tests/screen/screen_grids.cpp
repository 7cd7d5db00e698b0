#include "screen_grids.h"

#include <algorithm>
#include <random>
#include <set>

#include "screen_codec.h"
#include "tile_order.h"

namespace tvk::test {

std::size_t grid_index_of_pixel(std::size_t p) {
    const std::size_t t = p / kTilePixels;
    const std::size_t r = p % kTilePixels / kTileWidth;
    const std::size_t c = p % kTileWidth;
    return grid_index(kTileOrder[2 * t] + c, kTileOrder[2 * t + 1] + r);
}

void set_pixel_index(ScreenBlock& block, std::size_t p, unsigned index) {
    for (std::size_t j = 0; j < kIndexBits; ++j) {
        const std::size_t s = kIndexBits * p + j;
        // Word s / 16 is stored high byte first, so its bits 8-15 are in the first byte.
        const std::size_t bit = s % 16;
        const std::size_t byte = kPixelStreamOffset + 2 * (s / 16) + (bit < 8 ? 1 : 0);
        const auto mask = static_cast<std::uint8_t>(1u << (bit % 8));
        if ((index >> j) & 1u) {
            block[byte] |= mask;
        } else {
            block[byte] &= static_cast<std::uint8_t>(~mask);
        }
    }
}

std::vector<ColourValue> random_colours(std::size_t count, unsigned seed, bool noisy_upper_bits) {
    std::mt19937 random(seed);
    std::set<ColourValue> seen;
    std::vector<ColourValue> colours;
    while (colours.size() < count) {
        const ColourValue colour = random() & 0x00FFFFFFu;
        if (seen.insert(colour).second) {
            colours.push_back(colour | (noisy_upper_bits ? random() & 0xFF000000u : 0));
        }
    }
    return colours;
}

PixelGrid random_grid(const std::vector<ColourValue>& colours, unsigned seed) {
    std::mt19937 random(seed);
    PixelGrid grid{};
    for (auto& value : grid) {
        value = colours[random() % colours.size()];
    }
    // Every colour at a place of its own, spread over the screen.
    std::vector<std::size_t> places(kPixelCount);
    for (std::size_t i = 0; i < kPixelCount; ++i) {
        places[i] = i;
    }
    std::shuffle(places.begin(), places.end(), random);
    for (std::size_t n = 0; n < colours.size(); ++n) {
        grid[places[n]] = colours[n];
    }
    return grid;
}

PixelGrid uniform_grid(ColourValue colour) {
    PixelGrid grid;
    grid.fill(colour);
    return grid;
}

ScreenBlock random_block(unsigned seed, unsigned used_indices) {
    std::mt19937 random(seed);
    ScreenBlock block;
    for (auto& byte : block) {
        byte = static_cast<std::uint8_t>(random());
    }
    for (std::size_t p = 0; p < kPixelCount; ++p) {
        set_pixel_index(block, p, static_cast<unsigned>(random() % used_indices));
    }
    return block;
}

PixelGrid decoded(const ScreenBlock& block) {
    PixelGrid grid{};
    decode_screen(block, grid);
    return grid;
}

PixelGrid without_upper_bits(PixelGrid grid) {
    for (auto& value : grid) {
        value &= 0x00FFFFFFu;
    }
    return grid;
}

}  // namespace tvk::test
