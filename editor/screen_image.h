#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "atomic_file.h"
#include "entry_store.h"
#include "image_files.h"
#include "screen_format.h"

namespace tvk {

// Alpha never reaches a colour value; every exported pixel is fully opaque.
constexpr ColourValue colour_from_argb(std::uint32_t argb) {
    return ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
}
constexpr std::uint32_t argb_from_colour(ColourValue value) {
    return 0xFF000000u | ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

enum class ImportResult { imported, bad_width, bad_height, too_many_colours };

// The message a refused import shows; empty for `imported`.
std::string_view message_for(ImportResult result);

// Reads an image file as a screen: its pixels are decoded only when it announces 120 x 112.
PictureFile read_screen_picture(ImageFiles& images, const std::filesystem::path& file);

// Checks a picture as a new screen (width first, then height, then colours; a picture that lacks
// pixels counts as one of the wrong width) and encodes it into
// `block`, which is written only when the result is `imported`.
ImportResult screen_from_picture(const Picture& picture, ScreenBlock& block);

// The pixel grid as a 120 x 112 opaque picture.
Picture picture_from_grid(const PixelGrid& grid);

// The screen as a 120 x 112 palette picture: the block's 64 palette slots in order, slot 0
// included, and each pixel's slot as stored.
PalettePicture palette_picture_from_block(const ScreenBlock& block);

// The form of the PNG files written for screens: a palette whenever the colours fit one, or
// 24-bit RGB.
enum class PngForm { palette, rgb };

// The screen as a PNG file's bytes in `form`; nullopt when it cannot be encoded.
std::optional<std::string> encode_screen_png(ImageFiles& images, const ScreenBlock& block,
                                             PngForm form);

// Writes the grid as a PNG file, replacing `file` only when the whole file was written; the reason
// when it was not.
std::error_code export_png(ImageFiles& images, const PixelGrid& grid,
                           const std::filesystem::path& file, const FileOps& ops = real_file_ops());

}  // namespace tvk
