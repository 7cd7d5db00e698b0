#include "png_strips.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "picture_bytes.h"
#include "picture_palette.h"

// Pictures made piece by piece on several threads: the same result, byte for byte, whatever the
// number of threads, and exactly the pixels given.
namespace tvk::test {
namespace {

ArgbRows rows_of(std::size_t width,
                 const std::function<std::uint32_t(std::size_t x, std::size_t y)>& pixel) {
    return [width, pixel](std::size_t first, std::size_t end, std::uint32_t* argb) {
        for (std::size_t y = first; y < end; ++y) {
            for (std::size_t x = 0; x < width; ++x) {
                *argb++ = pixel(x, y);
            }
        }
    };
}

TEST(PngInStrips, DecodesToThePixelsGivenAndIsTheSameFileOnAnyNumberOfThreads) {
    // Width, height, rows a strip, colours: a palette of that many distinct colours, counted on one
    // thread and on three in any strips; 0 for RGB noise and shading, so that every row filter is
    // chosen somewhere.
    for (const auto& [width, height, strip_rows, colours] :
         std::vector<std::tuple<int, int, std::size_t, std::size_t>>{{1, 1, 64, 0},
                                                                     {1, 1, 64, 1},
                                                                     {5, 130, 64, 0},
                                                                     {37, 9, 1, 0},
                                                                     {967, 3, 2, 0},
                                                                     {17, 200, 113, 5},
                                                                     {300, 7, 3, 256},
                                                                     {300, 7, 3, 257}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const auto rows =
            rows_of(static_cast<std::size_t>(width), [=](std::size_t x, std::size_t y) {
                const std::size_t at = x + y * static_cast<std::size_t>(width);
                return 0xFF000000u |
                       static_cast<std::uint32_t>(colours > 0  ? at % colours * 0x010203u
                                                  : y % 3 == 0 ? (x * 2654435761u) ^ (y * 40503u)
                                                               : x * 0x010101u + y * 0x000203u);
            });
        PngLayout layout{width, height, {}};
        if (colours > 0) {
            const auto palette = palette_of_rows({width, height}, strip_rows, rows, 3);
            EXPECT_EQ(palette, palette_of_rows({width, height}, 1, rows, 1));
            ASSERT_EQ(palette.has_value(), colours <= kMostPaletteColours);
            layout.palette = palette.value_or(layout.palette);
        }
        const std::string png = png_in_strips(layout, strip_rows, rows, 1);
        EXPECT_EQ(png_in_strips(layout, strip_rows, rows, 3), png);
        EXPECT_EQ(png_colour_type(png), layout.palette.empty() ? 2 : 3);
        const QImage image = QImage::fromData(QByteArray::fromStdString(png), "PNG");
        ASSERT_EQ(image.size(), QSize(width, height));
        std::vector<std::uint32_t> expected(static_cast<std::size_t>(width * height));
        rows(0, static_cast<std::size_t>(height), expected.data());
        for (int i = 0; i < width * height; ++i) {
            ASSERT_EQ(image.pixel(i % width, i / width), expected[static_cast<std::size_t>(i)])
                << i;
        }
    }
}

}  // namespace
}  // namespace tvk::test
