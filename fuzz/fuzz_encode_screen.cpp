// Arbitrary bytes as a pixel grid, repeated to fill it, so that short inputs give grids of few
// colours and long ones grids of many: the encoder must agree with the plain encoder byte for byte,
// and a grid it accepts must decode back unchanged but for bits 24-31.
#include <cstdlib>
#include <cstring>

#include "reference_codec.h"
#include "screen_codec.h"

namespace {

using namespace tvk;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

PixelGrid grid_from(const std::uint8_t* data, std::size_t size) {
    PixelGrid grid{};
    if (size == 0) {
        return grid;
    }
    std::uint8_t* bytes = reinterpret_cast<std::uint8_t*>(grid.data());
    const std::size_t length = sizeof grid;
    for (std::size_t at = 0; at < length; at += size) {
        std::memcpy(bytes + at, data, std::min(size, length - at));
    }
    return grid;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PixelGrid grid = grid_from(data, size);
    ScreenBlock block{};
    const int result = encode_screen(grid, block);
    ScreenBlock expected{};
    check(result == reference::encode_screen(grid, expected));
    if (result != kEncoded) {
        check(result == kTooManyColours);
        return 0;
    }
    check(block == expected);
    PixelGrid decoded{};
    decode_screen(block, decoded);
    for (std::size_t i = 0; i < kPixelCount; ++i) {
        check(decoded[i] == (grid[i] & 0x00FFFFFFu));
    }
    return 0;
}
