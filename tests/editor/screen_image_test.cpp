#include "screen_image.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "fake_image_files.h"
#include "screen_codec.h"
#include "temp_folder.h"
#include "test_archives.h"

namespace tvk {
namespace {

using test::solid_block;
using test::solid_picture;

TEST(ColourConversion, MovesRedAndBlueAndDropsAlpha) {
    EXPECT_EQ(colour_from_argb(0xFF123456), 0x00563412u);
    EXPECT_EQ(colour_from_argb(0x80ABCDEF), 0x00EFCDABu);
    EXPECT_EQ(colour_from_argb(0xFFFF0000), 0x000000FFu);
    EXPECT_EQ(colour_from_argb(0x80FF0000), 0x000000FFu);
    EXPECT_EQ(argb_from_colour(0x00563412), 0xFF123456u);
    EXPECT_EQ(argb_from_colour(0x7F563412), 0xFF123456u);
    EXPECT_EQ(argb_from_colour(0), 0xFF000000u);
}

TEST(ScreenFromPicture, ChecksTheAnnouncedSizeBeforeThePixels) {
    // A picture of the wrong size is read without its pixels; one of the right size without them
    // was not read whole.
    const struct {
        int width;
        int height;
        std::size_t pixels;
        ImportResult expected;
    } cases[] = {
        {kScreenWidth, kScreenHeight, 10, ImportResult::bad_width},
        {kScreenWidth, kScreenHeight, 0, ImportResult::bad_width},
        {kScreenWidth, 300000, 0, ImportResult::bad_height},
        {100000, 100000, 0, ImportResult::bad_width},
        {121, kScreenHeight, 0, ImportResult::bad_width},
        {0, 0, 0, ImportResult::bad_width},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const Picture picture{c.width, c.height, std::vector<std::uint32_t>(c.pixels, 0xFF000000)};
        auto block = std::make_unique<ScreenBlock>(solid_block(0x123456));
        EXPECT_EQ(screen_from_picture(picture, *block), c.expected);
        EXPECT_EQ(*block, solid_block(0x123456));
    }
}

TEST(PalettePicture, OfABlockKeepsEverySlotAndEachPixelsSlot) {
    // Two colours; slot 0 then given the colour of slot 1, and some pixels switched to slot 0:
    // the same colours on screen, but the slots must stay as stored.
    Picture two = solid_picture(kScreenWidth, kScreenHeight, 0xFF102030);
    for (int x = 0; x < kScreenWidth; x += 2) {
        two.argb[static_cast<std::size_t>(x)] = 0xFF405060;
    }
    auto block = std::make_unique<ScreenBlock>();
    ASSERT_EQ(screen_from_picture(two, *block), ImportResult::imported);
    std::copy_n(block->begin() + kPaletteOffset + 4, 4, block->begin() + kPaletteOffset);
    (*block)[kPixelStreamOffset + 1] &= 0xC0;

    const PalettePicture picture = palette_picture_from_block(*block);
    ASSERT_EQ(picture.palette.size(), kPaletteEntries);
    EXPECT_EQ(picture.palette[0], picture.palette[1]);
    EXPECT_EQ(std::set<std::uint32_t>({picture.palette[1], picture.palette[2]}),
              std::set<std::uint32_t>({0xFF102030u, 0xFF405060u}));
    EXPECT_EQ(picture.palette[3], 0xFF000000u);
    auto grid = std::make_unique<PixelGrid>();
    decode_screen(*block, *grid);
    std::size_t in_slot_0 = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            ASSERT_EQ(picture.pixel(x, y), argb_from_colour((*grid)[grid_index(x, y)]));
            in_slot_0 += picture.indexes[static_cast<std::size_t>(y * kScreenWidth + x)] == 0;
        }
    }
    EXPECT_GT(in_slot_0, 0u);
    EXPECT_LT(in_slot_0, kPixelCount / 2);
}

TEST(ScreenFromPicture, KeepsEveryPixelInPlace) {
    // Each pixel's colour tells its place, so a swapped or transposed axis cannot go unseen.
    Picture picture = solid_picture(kScreenWidth, kScreenHeight, 0);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool marked = (x == 3 && y == 100) || (x == 119 && y == 0);
            picture.argb[static_cast<std::size_t>(y * kScreenWidth + x)] =
                marked ? 0xFF0000FF : 0x80FF0000;
        }
    }
    auto block = std::make_unique<ScreenBlock>();

    ASSERT_EQ(screen_from_picture(picture, *block), ImportResult::imported);

    auto grid = std::make_unique<PixelGrid>();
    decode_screen(*block, *grid);
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            const bool marked = (x == 3 && y == 100) || (x == 119 && y == 0);
            ASSERT_EQ((*grid)[grid_index(x, y)], marked ? 0xFF0000u : 0x0000FFu) << x << "," << y;
        }
    }
    const Picture back = picture_from_grid(*grid);
    EXPECT_EQ(back.width, kScreenWidth);
    EXPECT_EQ(back.height, kScreenHeight);
    EXPECT_EQ(back.pixel(3, 100), 0xFF0000FFu);
    EXPECT_EQ(back.pixel(119, 0), 0xFF0000FFu);
    EXPECT_EQ(back.pixel(100, 3), 0xFFFF0000u);
}

TEST(ExportPng, WritesTheEncodedPictureAndReplacesAnOldFile) {
    test::TempFolder folder;
    test::FakeImageFiles images;
    const std::filesystem::path file = folder / "shot.png";
    test::write_file(file, "old");
    auto grid = std::make_unique<PixelGrid>();
    (*grid)[grid_index(5, 7)] = 0x00563412;

    ASSERT_EQ(export_png(images, *grid, file), std::error_code());

    const std::optional<Picture> written = test::read_picture_file(file);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->pixel(5, 7), 0xFF123456u);
    EXPECT_EQ(written->pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"shot.png"});
}

TEST(ExportPng, KeepsTheOldFileWhenEncodingOrWritingFails) {
    test::TempFolder folder;
    test::FakeImageFiles images;
    const std::filesystem::path file = folder / "shot.png";
    test::write_file(file, "old");
    const auto grid = std::make_unique<PixelGrid>();

    images.fail_encoding = true;
    EXPECT_EQ(export_png(images, *grid, file), make_error_code(FileError::not_encoded));

    images.fail_encoding = false;
    FileOps failing_close = real_file_ops();
    failing_close.close = [](OpenFile& temporary, bool durable) {
        real_file_ops().close(temporary, durable);
        return std::make_error_code(std::errc::no_space_on_device);
    };
    EXPECT_EQ(export_png(images, *grid, file, failing_close),
              std::make_error_code(std::errc::no_space_on_device));

    EXPECT_EQ(test::read_file(file), "old");
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"shot.png"});
}

}  // namespace
}  // namespace tvk
