#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// The zlib level (0-9) of the PNG files written where the level can be chosen (QImage, tvk's
// contact sheet): 3 encodes a drawn screen in about half the time of the default level 6, for a
// file about a quarter larger (tvk_cli_bench prints both).
inline constexpr int kPngCompression = 3;

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

// A picture of at most 256 colours: each pixel the number of its colour in `palette`.
struct PalettePicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;  // ARGB, at most 256 colours
    std::vector<std::uint8_t> indexes;   // row by row from the top-left corner

    std::uint32_t pixel(int x, int y) const {
        return palette[indexes[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(x)]];
    }
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// What reading an image file gave.
struct PictureFile {
    // The size as the file announces it; the pixels only when they were decoded.
    Picture picture;
    // Why the file could not be read (missing, unreadable, not a picture); empty when it was.
    std::string error;
};

// The reasons a file gives no picture, beside those of the file layer.
inline constexpr std::string_view kNotAPicture = "Not a picture";
inline constexpr std::string_view kInexactColours =
    "Its half-transparent colours cannot be read exactly";

// Why `file` cannot be read as a regular file (missing, a folder, a FIFO, no permission); empty
// when it can. Image files check this before their library opens the file.
std::string unreadable_file_reason(const std::filesystem::path& file);

// Image files, as each platform's image library reads and writes them. Every function may run on
// several threads at once.
class ImageFiles {
  public:
    virtual ~ImageFiles() = default;
    // Reads any image file the library reads. With `only_size`, the pixels are decoded only when
    // the file announces exactly that size, so that a file claiming a huge picture costs nothing.
    // The pixels are the colours the file stores; a file whose colours cannot be read exactly
    // (stored premultiplied by a partial alpha) counts as unreadable.
    virtual PictureFile read_picture(const std::filesystem::path& file,
                                     std::optional<PictureSize> only_size) = 0;
    // The picture encoded as a PNG file's bytes, fully opaque 24-bit RGB; nullopt when it cannot
    // be encoded.
    virtual std::optional<std::string> encode_png(const Picture& picture) = 0;
    // The picture encoded as an 8-bit palette PNG with its palette as given (opaque), in order;
    // nullopt when it cannot be encoded.
    virtual std::optional<std::string> encode_palette_png(const PalettePicture& picture) = 0;
};

}  // namespace tvk
