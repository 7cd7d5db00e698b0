#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tvk {

// A decoded picture: ARGB (0xAARRGGBB) per pixel, row by row from the top-left corner.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t pixel(int x, int y) const {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
};

// Image files, as each platform's image library reads and writes them.
class ImageFiles {
  public:
    virtual ~ImageFiles() = default;
    // Decodes any image file the library reads; width and height 0 when the file is missing,
    // unreadable or not a picture. A pixel that cannot be read is opaque black.
    virtual Picture read_picture(const std::filesystem::path& file) = 0;
    // The picture encoded as a PNG file's bytes, fully opaque RGB; nullopt when it cannot be
    // encoded.
    virtual std::optional<std::string> encode_png(const Picture& picture) = 0;
};

}  // namespace tvk
