#include <gtest/gtest.h>

#include <memory>

#include "gdiplus_api.h"
#include "picture_bytes.h"
#include "platform_image_files.h"
#include "png_encoder.h"
#include "test_files.h"
#include "test_images.h"

namespace tvk::test {
namespace {

// Opaque colours, few enough for a GIF's palette; each pixel depends on x and y, so turned or
// mirrored pictures do not pass.
std::uint32_t web_colour(int x, int y) {
    const auto level = [](int n) { return static_cast<std::uint32_t>(n % 6) * 0x33u; };
    return 0xFF000000u | level(x) << 16 | level(y) << 8 | level(x / 6 + y / 6);
}

class GdiplusImageFilesTest : public ::testing::Test {
  protected:
    TempFolder folder;
    std::unique_ptr<ImageFiles> images = make_platform_image_files();
};

TEST_F(GdiplusImageFilesTest, ReadsPngBmpAndGifPixelForPixel) {
    const struct {
        const char* name;
        ImageFormat format;
    } files[] = {{"picture.png", kPng24}, {"picture.bmp", kBmp24}, {"picture.gif", kGif8}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        write_image(folder / file.name, file.format, 37, 23, web_colour);
        const Picture picture = images->read_picture(folder / file.name, std::nullopt).picture;
        ASSERT_EQ(picture.width, 37);
        ASSERT_EQ(picture.height, 23);
        for (int y = 0; y < 23; ++y) {
            for (int x = 0; x < 37; ++x) {
                ASSERT_EQ(picture.pixel(x, y), web_colour(x, y)) << x << ", " << y;
            }
        }
    }
}

TEST_F(GdiplusImageFilesTest, KeepsAlphaAsTheFileHasIt) {
    write_image(folder / "alpha.png", kPng32, 2, 1,
                [](int x, int) { return x == 0 ? 0xFFFF0000u : 0x80FF0000u; });
    const Picture picture = images->read_picture(folder / "alpha.png", std::nullopt).picture;
    ASSERT_EQ(picture.width, 2);
    EXPECT_EQ(picture.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(picture.pixel(1, 0), 0x80FF0000u);
}

TEST_F(GdiplusImageFilesTest, MissingAndUndecodableFilesHaveNoSize) {
    write_file(folder / "words.png", "These are words, not a picture.\n");
    write_file(folder / "cut.png", "\x89PNG\r\n\x1a\n");
    std::filesystem::create_directory(folder / "folder.png");
    const struct {
        const char* name;
        std::string error;  // empty: any reason the system gives
    } files[] = {{"words.png", "Not a picture"},
                 {"cut.png", "Not a picture"},
                 {"missing.png", ""},
                 {"folder.png", ""}};
    for (const auto& file : files) {
        const PictureFile read = images->read_picture(folder / file.name, std::nullopt);
        EXPECT_EQ(read.picture.width, 0) << file.name;
        EXPECT_EQ(read.picture.height, 0) << file.name;
        EXPECT_TRUE(read.picture.argb.empty()) << file.name;
        EXPECT_FALSE(read.error.empty()) << file.name;
        if (!file.error.empty()) {
            EXPECT_EQ(read.error, file.error) << file.name;
        }
    }
}

TEST_F(GdiplusImageFilesTest, HugePicturesCountAsUndecodable) {
    // 36 million pixels: far past any screen, and past what is copied out of a file.
    write_image(folder / "huge.png", kPng24, 6000, 6000, [](int, int) { return 0xFF000000u; });
    const PictureFile any_size = images->read_picture(folder / "huge.png", std::nullopt);
    EXPECT_EQ(any_size.picture.width, 0);
    EXPECT_TRUE(any_size.picture.argb.empty());
    EXPECT_EQ(any_size.error, "Not a picture");
}

TEST_F(GdiplusImageFilesTest, ReadsTheColoursOfHalfTransparentIconPixelsExactly) {
    // Red 200 at half alpha in a 32-bit icon; a reader that premultiplied would give 199 or 100.
    write_file(folder / "half.ico", icon_of(0xFFC8140Au, 0x80C8140Au));
    const PictureFile read = images->read_picture(folder / "half.ico", PictureSize{120, 112});
    ASSERT_TRUE(read.error.empty()) << read.error;
    ASSERT_EQ(read.picture.width, 120);
    EXPECT_EQ(read.picture.pixel(0, 0), 0x80C8140Au);
    EXPECT_EQ(read.picture.pixel(1, 0), 0xFFC8140Au);
}

TEST_F(GdiplusImageFilesTest, APictureOfAnotherSizeIsReadWithoutItsPixels) {
    write_image(folder / "wide.png", kPng24, 1000, 800, [](int, int) { return 0xFF000000u; });
    write_image(folder / "tall.png", kPng24, 120, 113, web_colour);
    write_image(folder / "screen.png", kPng24, 120, 112, web_colour);
    const struct {
        const char* name;
        int width;
        int height;
        bool decoded;
    } files[] = {{"wide.png", 1000, 800, false},
                 {"tall.png", 120, 113, false},
                 {"screen.png", 120, 112, true}};
    for (const auto& file : files) {
        const PictureFile read = images->read_picture(folder / file.name, PictureSize{120, 112});
        EXPECT_TRUE(read.error.empty()) << file.name;
        EXPECT_EQ(read.picture.width, file.width) << file.name;
        EXPECT_EQ(read.picture.height, file.height) << file.name;
        EXPECT_EQ(read.picture.argb.size(), file.decoded ? 120u * 112u : 0u) << file.name;
    }
}

TEST_F(GdiplusImageFilesTest, EncodesAPalettePngWithThePaletteInOrder) {
    // 64 colours, two of them the same, so that only the numbers tell the pixels apart.
    PalettePicture picture{120, 112, {}, {}};
    for (std::uint32_t i = 0; i < 64; ++i) {
        picture.palette.push_back(i == 5 ? 0xFF030507u : 0xFF000000u | i * 0x030507u);
    }
    for (int i = 0; i < 120 * 112; ++i) {
        picture.indexes.push_back(static_cast<std::uint8_t>((i * 7 + i / 120) % 64));
    }
    const std::optional<std::string> png = images->encode_palette_png(picture);
    ASSERT_TRUE(png);
    EXPECT_EQ(png_colour_type(*png), 3);
    std::string expected_palette;
    for (const std::uint32_t argb : picture.palette) {
        expected_palette +=
            {static_cast<char>(argb >> 16), static_cast<char>(argb >> 8), static_cast<char>(argb)};
    }
    EXPECT_EQ(png_chunk(*png, "PLTE"), expected_palette);
    write_file(folder / "palette.png", *png);
    const Picture back = images->read_picture(folder / "palette.png", std::nullopt).picture;
    ASSERT_EQ(back.width, 120);
    ASSERT_EQ(back.height, 112);
    for (int y = 0; y < 112; ++y) {
        for (int x = 0; x < 120; ++x) {
            ASSERT_EQ(back.pixel(x, y), picture.pixel(x, y)) << x << ", " << y;
        }
    }
}

TEST_F(GdiplusImageFilesTest, EncodesAnOpaquePngThatReadsBackExactly) {
    // Every pixel a colour of its own, with an alpha that must not reach the file.
    Picture picture{120, 112, {}};
    for (int y = 0; y < 112; ++y) {
        for (int x = 0; x < 120; ++x) {
            picture.argb.push_back(0x40000000u | static_cast<std::uint32_t>(x * 131 + y * 7919) *
                                                     0x9E3779u % 0x1000000u);
        }
    }
    const std::optional<std::string> png = images->encode_png(picture);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    write_file(folder / "written.png", *png);
    const Picture back = decode_image(folder / "written.png");
    ASSERT_EQ(back.width, 120);
    ASSERT_EQ(back.height, 112);
    for (int y = 0; y < 112; ++y) {
        for (int x = 0; x < 120; ++x) {
            ASSERT_EQ(back.pixel(x, y), picture.pixel(x, y) | 0xFF000000u) << x << ", " << y;
        }
    }
}

TEST_F(GdiplusImageFilesTest, FindsTheFirstPngEncoder) {
    CLSID found{};
    const int index = find_png_encoder(found);
    ASSERT_GE(index, 0);
    const CLSID expected = encoder_for(L"image/png");
    EXPECT_TRUE(IsEqualCLSID(found, expected));
    EXPECT_EQ(index, encoder_index(L"image/png"));
}

}  // namespace
}  // namespace tvk::test
