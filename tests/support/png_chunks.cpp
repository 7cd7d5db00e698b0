#include "png_chunks.h"

#include <cstddef>
#include <cstdint>

namespace tvk::test {

std::string png_chunk(const std::string& png, const std::string& type) {
    constexpr std::size_t kSignature = 8;
    constexpr std::size_t kFrame = 12;  // length, type and CRC
    for (std::size_t at = kSignature; at + kFrame <= png.size();) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(png.data() + at);
        const std::size_t length = std::size_t{bytes[0]} << 24 | std::size_t{bytes[1]} << 16 |
                                   std::size_t{bytes[2]} << 8 | bytes[3];
        if (png.compare(at + 4, 4, type) == 0) {
            return png.substr(at + 8, length);
        }
        at += kFrame + length;
    }
    return {};
}

int png_colour_type(const std::string& png) {
    const std::string header = png_chunk(png, "IHDR");
    return header.size() < 10 ? -1 : static_cast<std::uint8_t>(header[9]);
}

}  // namespace tvk::test
