#pragma once

#include <array>
#include <cstdint>

#include "screen_format.h"

namespace tvk {

// Top-left corners of the 105 tiles in the order their pixels are stored: x of tile t at byte 2t,
// y at byte 2t + 1.
extern const std::array<std::uint8_t, 2 * kTileCount> kTileOrder;

}  // namespace tvk
