#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picture_palette.h"

namespace tvk {

// What a PNG file holds besides its pixels.
struct PngLayout {
    int width = 0;
    int height = 0;
    // The colours of an 8-bit palette picture, in order, at most 256; empty for 24-bit RGB.
    std::vector<std::uint32_t> palette;
};

// The picture that `rows` gives as a PNG file's bytes, opaque, compressed at kPngCompression.
// The rows go into the file in horizontal strips of `strip_rows` rows, each compressed on its own
// on up to `jobs` threads; the bytes depend on the strip height, never on the number of threads.
// Every colour of a palette picture must be in its palette. Throws std::bad_alloc when memory runs
// out.
std::string png_in_strips(const PngLayout& layout, std::size_t strip_rows, const ArgbRows& rows,
                          unsigned jobs);

}  // namespace tvk
