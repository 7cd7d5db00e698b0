#include "screen_image.h"

#include <memory>
#include <ostream>

#include "messages.h"
#include "record.h"
#include "screen_codec.h"

namespace tvk {

std::string_view message_for(ImportResult result) {
    switch (result) {
        case ImportResult::bad_width:
            return kBadWidth;
        case ImportResult::bad_height:
            return kBadHeight;
        case ImportResult::too_many_colours:
            return kTooManyColoursMessage;
        case ImportResult::imported:
            break;
    }
    return {};
}

PictureFile read_screen_picture(ImageFiles& images, const std::filesystem::path& file) {
    return images.read_picture(file, PictureSize{kScreenWidth, kScreenHeight});
}

ImportResult screen_from_picture(const Picture& picture, ScreenBlock& block) {
    if (picture.width != kScreenWidth) {
        return ImportResult::bad_width;
    }
    if (picture.height != kScreenHeight) {
        return ImportResult::bad_height;
    }
    // A picture without a pixel for every place was not read whole: it is refused like a file that
    // could not be read at all.
    if (picture.argb.size() != kPixelCount) {
        return ImportResult::bad_width;
    }
    auto grid = std::make_unique<PixelGrid>();
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            (*grid)[grid_index(x, y)] = colour_from_argb(picture.pixel(x, y));
        }
    }
    auto encoded = std::make_unique<ScreenBlock>();
    if (encode_screen(*grid, *encoded) != kEncoded) {
        return ImportResult::too_many_colours;
    }
    block = *encoded;
    return ImportResult::imported;
}

Picture picture_from_grid(const PixelGrid& grid) {
    Picture picture{kScreenWidth, kScreenHeight, std::vector<std::uint32_t>(kPixelCount)};
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            picture.argb[static_cast<std::size_t>(y * kScreenWidth + x)] =
                argb_from_colour(grid[grid_index(x, y)]);
        }
    }
    return picture;
}

PalettePicture palette_picture_from_block(const ScreenBlock& block) {
    PalettePicture picture{kScreenWidth, kScreenHeight, {}, std::vector<std::uint8_t>(kPixelCount)};
    picture.palette.reserve(kPaletteEntries);
    for (std::size_t slot = 0; slot < kPaletteEntries; ++slot) {
        picture.palette.push_back(argb_from_colour(
            colour_from_palette_entry(read_u32(block.data() + kPaletteOffset + 4 * slot))));
    }
    auto slots = std::make_unique<SlotGrid>();
    decode_screen_slots(block, *slots);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            picture.indexes[static_cast<std::size_t>(y * kScreenWidth + x)] =
                (*slots)[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))];
        }
    }
    return picture;
}

std::optional<std::string> encode_screen_png(ImageFiles& images, const ScreenBlock& block,
                                             PngForm form) {
    if (form == PngForm::palette) {
        return images.encode_palette_png(palette_picture_from_block(block));
    }
    auto grid = std::make_unique<PixelGrid>();
    decode_screen(block, *grid);
    return images.encode_png(picture_from_grid(*grid));
}

std::error_code export_png(ImageFiles& images, const PixelGrid& grid,
                           const std::filesystem::path& file, const FileOps& ops) {
    const std::optional<std::string> png = images.encode_png(picture_from_grid(grid));
    if (!png) {
        return make_error_code(FileError::not_encoded);
    }
    return save_file_atomically(
        file,
        [&png](std::ostream& stream) {
            stream.write(png->data(), static_cast<std::streamsize>(png->size()));
        },
        ops);
}

}  // namespace tvk
