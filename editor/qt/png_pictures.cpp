#include "png_pictures.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "whole_file.h"

namespace tvk {
namespace {

constexpr std::size_t kSignatureLength = 8;
// Larger files and pictures are left to Qt, which knows how much it may allocate.
constexpr std::size_t kMostFileBytes = std::size_t{1} << 25;
constexpr std::uint64_t kMostPixels = std::uint64_t{1} << 24;

// The file's bytes as libpng reads them: read whole at once, as libpng asks for a few bytes at a
// time.
struct PngSource {
    std::string bytes;
    std::size_t offset = 0;
};

// What the decoding gives, held outside the function that libpng may jump back into, so that no
// object with a destructor is jumped over.
struct DecodedPng {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool size_only = false;  // of another size than asked: not decoded
    // A palette picture: its colours (ARGB) and one number per pixel in `samples`. Any other: four
    // bytes per pixel, red, green, blue and alpha.
    bool has_palette = false;
    std::vector<std::uint32_t> palette;
    std::vector<png_byte> samples;
    std::vector<png_bytep> rows;
};

void read_from_source(png_structp png, png_bytep data, std::size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source->bytes.size() - source->offset < length) {
        png_error(png, "short file");
    }
    std::memcpy(data, source->bytes.data() + source->offset, length);
    source->offset += length;
}

// Errors end the reading (the file is then left to Qt); warnings say nothing.
void on_error(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void on_warning(png_structp, png_const_charp) {}

// Takes the palette and its transparency into `decoded`.
void take_palette(png_structp png, png_infop info, DecodedPng& decoded) {
    png_colorp colours = nullptr;
    int count = 0;
    png_get_PLTE(png, info, &colours, &count);
    png_bytep alphas = nullptr;
    int alpha_count = 0;
    png_get_tRNS(png, info, &alphas, &alpha_count, nullptr);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t alpha = i < alpha_count ? alphas[i] : 0xFF;
        decoded.palette.push_back(alpha << 24 | std::uint32_t{colours[i].red} << 16 |
                                  std::uint32_t{colours[i].green} << 8 | colours[i].blue);
    }
}

// Decodes the whole file into `decoded` as Qt does: a palette picture as its numbers, every other
// as 8-bit RGBA with grey and transparency expanded; no gamma applied. False when the file is left
// to Qt.
bool decode(png_structp png, png_infop info, const std::optional<PictureSize>& only_size,
            DecodedPng& decoded) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    int depth = 0;
    int colour_type = 0;
    png_get_IHDR(png, info, &decoded.width, &decoded.height, &depth, &colour_type, nullptr, nullptr,
                 nullptr);
    if (only_size && (decoded.width != static_cast<png_uint_32>(only_size->width) ||
                      decoded.height != static_cast<png_uint_32>(only_size->height))) {
        decoded.size_only = true;
        return true;
    }
    // Qt makes the transparent grey of a grey picture transparent black: left to Qt.
    const bool transparent_grey =
        colour_type == PNG_COLOR_TYPE_GRAY && png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (depth > 8 || transparent_grey ||
        std::uint64_t{decoded.width} * decoded.height > kMostPixels) {
        return false;
    }
    decoded.has_palette = colour_type == PNG_COLOR_TYPE_PALETTE;
    if (decoded.has_palette) {
        take_palette(png, info, decoded);
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_gray_to_rgb(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t row_bytes = std::size_t{decoded.width} * (decoded.has_palette ? 1 : 4);
    if (png_get_rowbytes(png, info) != row_bytes) {
        return false;
    }
    decoded.samples.resize(row_bytes * decoded.height);
    decoded.rows.resize(decoded.height);
    for (png_uint_32 y = 0; y < decoded.height; ++y) {
        decoded.rows[y] = decoded.samples.data() + row_bytes * y;
    }
    png_read_image(png, decoded.rows.data());
    png_read_end(png, nullptr);
    return true;
}

// The decoded pixels as ARGB; false for a number beyond the palette, which Qt shows as the first
// colour and libpng as black: such a file is left to Qt.
bool take_pixels(const DecodedPng& decoded, std::vector<std::uint32_t>& argb) {
    argb.resize(std::size_t{decoded.width} * decoded.height);
    for (std::size_t i = 0; i < argb.size(); ++i) {
        if (decoded.has_palette) {
            const png_byte number = decoded.samples[i];
            if (number >= decoded.palette.size()) {
                return false;
            }
            argb[i] = decoded.palette[number];
        } else {
            const png_byte* rgba = decoded.samples.data() + 4 * i;
            argb[i] = std::uint32_t{rgba[3]} << 24 | std::uint32_t{rgba[0]} << 16 |
                      std::uint32_t{rgba[1]} << 8 | rgba[2];
        }
    }
    return true;
}

bool starts_as_png(const std::string& bytes) {
    return bytes.size() >= kSignatureLength &&
           png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, kSignatureLength) == 0;
}

}  // namespace

std::optional<PictureFile> read_png_picture(const std::filesystem::path& file,
                                            std::optional<PictureSize> only_size) {
    std::optional<std::string> bytes = read_file_bytes(file, nullptr, kMostFileBytes);
    DecodedPng decoded;
    bool read = false;
    if (bytes && starts_as_png(*bytes)) {
        PngSource source{std::move(*bytes), kSignatureLength};
        png_structp png =
            png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_error, on_warning);
        png_infop info = png ? png_create_info_struct(png) : nullptr;
        if (info) {
            png_set_read_fn(png, &source, read_from_source);
            png_set_sig_bytes(png, static_cast<int>(kSignatureLength));
            read = decode(png, info, only_size, decoded);
        }
        png_destroy_read_struct(&png, &info, nullptr);
    }
    if (!read) {
        return std::nullopt;
    }
    PictureFile result;
    result.picture.width = static_cast<int>(decoded.width);
    result.picture.height = static_cast<int>(decoded.height);
    if (decoded.size_only) {
        return result;
    }
    if (!take_pixels(decoded, result.picture.argb)) {
        return std::nullopt;
    }
    return result;
}

}  // namespace tvk
