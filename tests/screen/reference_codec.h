#pragma once

#include <cstddef>

#include "entry_store.h"
#include "screen_format.h"

// The screen codec worked out from the layout rules alone, pixel by pixel and bit by bit, with a
// linear palette search: the fast codec must give the same grids and byte-identical blocks.
namespace tvk::reference {

// The grid index of pixel number p in pixel order: pixel (c, r) of tile p / 128.
std::size_t grid_index_of_pixel(std::size_t p);
// The palette index of pixel number p: stream bit 6p + j is bit j of the index, and stream bit s
// is bit (s mod 16) of word s / 16, stored high byte first.
unsigned pixel_index(const ScreenBlock& block, std::size_t p);
void set_pixel_index(ScreenBlock& block, std::size_t p, unsigned index);

void decode_screen(const ScreenBlock& block, PixelGrid& grid);
int encode_screen(const PixelGrid& grid, ScreenBlock& block);

}  // namespace tvk::reference
