#pragma once

#include <string>

namespace tvk::test {

// The data of the first chunk of `type` ("IHDR", "PLTE", ...) in a PNG file's bytes; empty when
// there is none.
std::string png_chunk(const std::string& png, const std::string& type);

// The PNG colour type of a file's header: 2 for RGB, 3 for a palette; -1 without a header.
int png_colour_type(const std::string& png);

}  // namespace tvk::test
