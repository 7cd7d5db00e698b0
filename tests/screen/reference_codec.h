#pragma once

#include "entry_store.h"
#include "screen_format.h"

// Bit-at-a-time versions of the screen codec with a linear palette search, written as plainly as
// possible. The product's versions must give the same grids and byte-identical blocks.
namespace tvk::reference {

void decode_screen(const ScreenBlock& block, PixelGrid& grid);
int encode_screen(const PixelGrid& grid, ScreenBlock& block);

}  // namespace tvk::reference
