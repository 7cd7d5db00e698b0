#pragma once

#include <cstdint>
#include <string>

#include "image_files.h"

namespace tvk::test {

// The data of the first chunk of `type` ("IHDR", "PLTE", ...) in a PNG file's bytes; empty when
// there is none.
std::string png_chunk(const std::string& png, const std::string& type);

// The PNG colour type of a file's header: 2 for RGB, 3 for a palette; -1 without a header.
int png_colour_type(const std::string& png);

// The fields of a PNG file's header that vary (no interlacing).
struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int depth = 8;
    int colour_type = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA
};
// A PNG file's chunk of `type` holding `data`.
std::string png_chunk_of(const std::string& type, const std::string& data);
// A PNG file of the header, the `chunks` that go before the image data (PLTE, tRNS, ...) and
// `rows`, each row behind its filter byte, stored uncompressed; written here, not by the code
// under test.
std::string png_file(const PngHeader& header, const std::string& rows,
                     const std::string& chunks = {});
// An 8-bit RGBA PNG file of the picture.
std::string png_of(const Picture& picture);

// An icon file of one 32-bit 120 x 112 picture, every pixel `argb`, but pixel (0, 0) `corner`.
std::string icon_of(std::uint32_t argb, std::uint32_t corner);

// A 24-bit bitmap file stored top row first (its height announced negative), every pixel `rgb`.
std::string top_down_bitmap(std::uint32_t width, std::uint32_t height, std::uint32_t rgb);

}  // namespace tvk::test
