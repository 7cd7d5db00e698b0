#pragma once

#include <cstddef>
#include <vector>

#include "entry_store.h"
#include "screen_format.h"

// Builders for screen codec tests: grids and blocks with known or random contents, and the pixel
// layout worked out from the tile order table and the bit rule, independently of the codec.
namespace tvk::test {

// Grid index of pixel number p in pixel order.
std::size_t grid_index_of_pixel(std::size_t p);

// Stores `index` as the palette index of pixel number p: stream bit 6p + j is bit j of the index,
// and stream bit s is bit (s mod 16) of big-endian word s / 16.
void set_pixel_index(ScreenBlock& block, std::size_t p, unsigned index);

// `count` distinct colours in random order, bits 24-31 random when `noisy_upper_bits`.
std::vector<ColourValue> random_colours(std::size_t count, unsigned seed, bool noisy_upper_bits);
// A grid drawing each pixel at random from `colours`, each colour used at least once.
PixelGrid random_grid(const std::vector<ColourValue>& colours, unsigned seed);
PixelGrid uniform_grid(ColourValue colour);

// A block of random bytes whose pixels use only palette indices below `used_indices`.
ScreenBlock random_block(unsigned seed, unsigned used_indices);

PixelGrid decoded(const ScreenBlock& block);
// The grid with bits 24-31 of every value cleared.
PixelGrid without_upper_bits(PixelGrid grid);

}  // namespace tvk::test
