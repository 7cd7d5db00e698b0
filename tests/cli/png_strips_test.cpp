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

using PixelOf = std::function<std::uint32_t(std::size_t x, std::size_t y)>;

ArgbRows rows_of(std::size_t width, const PixelOf& pixel) {
    return [width, pixel](std::size_t first, std::size_t end, std::uint32_t* argb) {
        for (std::size_t y = first; y < end; ++y) {
            for (std::size_t x = 0; x < width; ++x) {
                *argb++ = pixel(x, y);
            }
        }
    };
}

TEST(PaletteOfRows, NumbersColoursByFirstAppearanceInTheWholePictureUpTo256) {
    // Colour n first appears at pixel n, row by row, and later strips repeat them backwards.
    for (const std::size_t colours : {1u, 2u, 256u, 257u}) {
        for (const std::size_t strip_rows : {1u, 3u, 64u}) {
            const PixelOf pixel = [colours](std::size_t x, std::size_t y) {
                const std::size_t at = y * 40 + x;
                return static_cast<std::uint32_t>(
                    0xFF000000u | (at < colours ? at : colours - 1 - at % colours) * 0x010203u);
            };
            const auto palette = palette_of_rows({40, 30}, strip_rows, rows_of(40, pixel), 3);
            EXPECT_EQ(palette, palette_of_rows({40, 30}, strip_rows, rows_of(40, pixel), 1));
            ASSERT_EQ(palette.has_value(), colours <= kMostPaletteColours) << colours;
            for (std::size_t n = 0; palette && n < colours; ++n) {
                ASSERT_EQ((*palette)[n], pixel(n % 40, n / 40)) << colours << " colours, " << n;
            }
        }
    }
}

TEST(PngInStrips, DecodesToThePixelsGivenAndIsTheSameFileOnAnyNumberOfThreads) {
    // Noise, smooth shading and flat runs, so that every row filter gets chosen somewhere.
    const PixelOf rgb = [](std::size_t x, std::size_t y) -> std::uint32_t {
        return 0xFF000000u | static_cast<std::uint32_t>(y % 3 == 0 ? (x * 2654435761u) ^ (y * 40503u)
                                                                   : x * 0x010101u + y * 0x000203u);
    };
    const PixelOf few = [](std::size_t x, std::size_t y) {
        return 0xFF000000u | static_cast<std::uint32_t>(((x / 3 + y) % 5) * 0x203040u);
    };
    // Width, height, rows a strip, palette.
    for (const auto& [width, height, strip_rows, palette] :
         std::vector<std::tuple<int, int, std::size_t, bool>>{{1, 1, 64, false}, {1, 1, 64, true},
             {5, 130, 64, false}, {37, 9, 1, false}, {967, 3, 2, false}, {17, 200, 113, true},
             {300, 7, 3, true}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const PixelOf& pixel = palette ? few : rgb;
        const auto rows = rows_of(static_cast<std::size_t>(width), pixel);
        PngLayout layout{width, height, {}};
        if (palette) {
            layout.palette = *palette_of_rows({width, height}, 5, rows, 1);
        }
        const std::string png = png_in_strips(layout, strip_rows, rows, 1);
        EXPECT_EQ(png_in_strips(layout, strip_rows, rows, 3), png);
        EXPECT_EQ(png_colour_type(png), palette ? 3 : 2);
        const QImage image = QImage::fromData(QByteArray::fromStdString(png), "PNG");
        ASSERT_EQ(image.size(), QSize(width, height));
        for (int i = 0; i < width * height; ++i) {
            ASSERT_EQ(image.pixel(i % width, i / width), pixel(i % width, i / width)) << i;
        }
    }
}

}  // namespace
}  // namespace tvk::test
