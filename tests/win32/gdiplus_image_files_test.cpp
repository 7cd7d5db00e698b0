#include <gtest/gtest.h>

#include <memory>

#include "builders.h"
#include "picture_bytes.h"
#include "platform_image_files.h"
#include "temp_folder.h"

namespace tvk::test {
namespace {

// Each format reads pixel for pixel with the alpha it stores, the PNG encoders' files among them;
// with a size asked for, a file announcing another is read without being decoded; a file of no
// picture, or of a huge one, gives none.
TEST(GdiplusImageFiles, ReadsEachFormatExactlyAndRefusesByTheAnnouncedSize) {
    Picture half{120, 112, {}};
    Picture opaque = half;
    Picture from_palette = half;
    // 64 colours, two of them the same: only the numbers tell those pixels apart.
    PalettePicture palette{120, 112, {}, {}};
    for (std::uint32_t i = 0; i < 64; ++i) {
        palette.palette.push_back(0xFF000000u | (i == 5 ? 1 : i) * 0x030507u);
    }
    for (std::uint32_t i = 0; i < 120 * 112; ++i) {
        half.argb.push_back((i % 3 == 0 ? 0x80000000u : 0x40000000u) | i * 0x9E3779u % 0x1000000u);
        opaque.argb.push_back(half.argb.back() | 0xFF000000u);
        palette.indexes.push_back(static_cast<std::uint8_t>((i * 7 + i / 120) % 64));
        from_palette.argb.push_back(palette.palette[palette.indexes.back()]);
    }
    Picture icon = solid_picture(120, 112, 0xFFC8140Au);
    icon.argb[0] = 0x80C8140Au;  // premultiplied, its red would read 199 or 100
    // clang-format off
    const std::string gif("GIF89a\x03\0\x02\0\x81\0\0\xFF\0\0\0\x80\0\0\0\xFF\x10\x20\x30,\0\0\0\0"
                          "\x03\0\x02\0\0\x02\x04\x44\xA8\x51\x29\0;", 43);
    const Picture gif_read{3, 2, {0xFFFF0000u, 0xFF008000u, 0xFF0000FFu, 0xFF102030u, 0xFF0000FFu,
                                  0xFF008000u}};
    // 36 million pixels of one bit each: far past any screen, past what is copied out.
    const std::string huge = std::string("BM\0\0\0\0\0\0\0\0\x3E\0\0\0\x28\0\0\0\x70\x17\0\0"
                                         "\x70\x17\0\0\x01\0\x01\0", 30) +
                             std::string(32 + 752 * 6000, '\0');
    const std::unique_ptr<ImageFiles> images = make_platform_image_files();
    const std::string palette_png = images->encode_palette_png(palette).value_or("");
    // Colours 3, 4 and 5 (the same as 1), in their order.
    EXPECT_EQ(png_chunk(palette_png, "PLTE").substr(9, 9), "\x09\x0F\x15\x0C\x14\x1C\x03\x05\x07");
    const TempFolder folder;
    const struct {
        const char* name;
        std::string bytes;  // none: no file
        std::optional<PictureSize> only_size;
        Picture read;
        std::string error;
    } files[] = {
        {"32.png", png_of(half), PictureSize{120, 112}, half, ""},
        {"24.png", images->encode_png(half).value_or(""), std::nullopt, opaque, ""},
        {"8.png", palette_png, std::nullopt, from_palette, ""},
        {"8.gif", gif, std::nullopt, gif_read, ""},
        {"24.bmp", top_down_bitmap(120, 112, 0x123456), PictureSize{120, 112},
         solid_picture(120, 112, 0xFF123456u), ""},
        {"half.ico", icon_of(0xFFC8140Au, 0x80C8140Au), PictureSize{120, 112}, icon, ""},
        // Whole up to its size only: GDI+ could not decode it.
        {"turned.bmp", top_down_bitmap(112, 120, 0).substr(0, 100), PictureSize{120, 112},
         {112, 120, {}}, ""},
        {"words.png", "These are words, not a picture.", std::nullopt, {}, "Not a picture"},
        {"cut.png", "\x89PNG\r\n\x1a\n", PictureSize{120, 112}, {}, "Not a picture"},
        {"huge.bmp", huge, std::nullopt, {}, "Not a picture"},
        {"missing.png", "", std::nullopt, {}, unreadable_file_reason(folder / "missing.png")},
    };
    // clang-format on
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        if (!file.bytes.empty()) {
            write_file(folder / file.name, file.bytes);
        }
        const PictureFile read = images->read_picture(folder / file.name, file.only_size);
        EXPECT_EQ(read.error, file.error);
        EXPECT_EQ(read.picture.width * 10000 + read.picture.height,
                  file.read.width * 10000 + file.read.height);
        EXPECT_TRUE(read.picture.argb == file.read.argb);
    }
}

}  // namespace
}  // namespace tvk::test
