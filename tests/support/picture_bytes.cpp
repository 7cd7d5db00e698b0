#include "picture_bytes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace tvk::test {
namespace {

std::string big_endian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string little_endian(std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) {
        text += static_cast<char>(value >> (8 * i));
    }
    return text;
}

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::uint32_t adler32(const std::string& bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : bytes) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521u;
        b = (b + a) % 65521u;
    }
    return b << 16 | a;
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string stored_zlib(const std::string& data) {
    std::string stream("\x78\x01", 2);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(data.size() - at, 65535);
        const bool last = at + length == data.size();
        stream += static_cast<char>(last ? 1 : 0);
        stream += little_endian(static_cast<std::uint32_t>(length), 2);
        stream += little_endian(static_cast<std::uint32_t>(~length & 0xFFFFu), 2);
        stream += data.substr(at, length);
        at += length;
    } while (at < data.size());
    return stream + big_endian(adler32(data));
}

}  // namespace

std::string png_chunk_of(const std::string& type, const std::string& data) {
    return big_endian(static_cast<std::uint32_t>(data.size())) + type + data +
           big_endian(crc32(type + data));
}

std::string png_file(const PngHeader& header, const std::string& rows, const std::string& chunks) {
    const std::string fields = big_endian(header.width) + big_endian(header.height) +
                               static_cast<char>(header.depth) +
                               static_cast<char>(header.colour_type) + std::string(3, '\0');
    return std::string("\x89PNG\r\n\x1a\n", 8) + png_chunk_of("IHDR", fields) + chunks +
           png_chunk_of("IDAT", stored_zlib(rows)) + png_chunk_of("IEND", "");
}

std::string png_of(const Picture& picture) {
    std::string rows;
    for (int y = 0; y < picture.height; ++y) {
        rows += '\0';  // no filter
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t argb = picture.pixel(x, y);
            rows += {static_cast<char>(argb >> 16), static_cast<char>(argb >> 8),
                     static_cast<char>(argb), static_cast<char>(argb >> 24)};
        }
    }
    return png_file({static_cast<std::uint32_t>(picture.width),
                     static_cast<std::uint32_t>(picture.height), 8, 6},
                    rows);
}

std::string icon_of(std::uint32_t argb, std::uint32_t corner) {
    const std::uint32_t width = 120;
    const std::uint32_t height = 112;
    // The bitmap's header (its height counts the mask below the colours), rows from the bottom.
    std::string bitmap = little_endian(40, 4) + little_endian(width, 4) +
                         little_endian(2 * height, 4) + little_endian(1, 2) + little_endian(32, 2) +
                         std::string(24, '\0');
    for (std::uint32_t row = 0; row < height; ++row) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const bool is_corner = x == 0 && row == height - 1;
            bitmap += little_endian(is_corner ? corner : argb, 4);  // B, G, R, A
        }
    }
    bitmap += std::string(static_cast<std::size_t>((width + 31) / 32 * 4 * height), '\0');
    const std::string directory =
        little_endian(0, 2) + little_endian(1, 2) + little_endian(1, 2) + static_cast<char>(width) +
        static_cast<char>(height) + std::string(2, '\0') + little_endian(1, 2) +
        little_endian(32, 2) + little_endian(static_cast<std::uint32_t>(bitmap.size()), 4) +
        little_endian(22, 4);
    return directory + bitmap;
}

std::string top_down_bitmap(std::uint32_t width, std::uint32_t height, std::uint32_t rgb) {
    const std::uint32_t row_bytes = (3 * width + 3) / 4 * 4;
    const std::uint32_t pixel_offset = 14 + 40;
    std::string row;
    for (std::uint32_t x = 0; x < width; ++x) {
        row += little_endian(rgb, 3);  // B, G, R
    }
    row.resize(row_bytes, '\0');
    std::string file = "BM" + little_endian(pixel_offset + row_bytes * height, 4) +
                       little_endian(0, 4) + little_endian(pixel_offset, 4) + little_endian(40, 4) +
                       little_endian(width, 4) + little_endian(0u - height, 4) +
                       little_endian(1, 2) + little_endian(24, 2) + std::string(24, '\0');
    for (std::uint32_t y = 0; y < height; ++y) {
        file += row;
    }
    return file;
}

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
