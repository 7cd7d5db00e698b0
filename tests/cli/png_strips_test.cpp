#include "png_strips.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "picture_palette.h"

namespace tvk {
namespace {

// Pictures made piece by piece on several threads: the same result, byte for byte, whatever the
// number of threads, and exactly the pixels given.
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
    for (const std::size_t colours : {1u, 2u, 255u, 256u, 257u, 800u}) {
        for (const std::size_t strip_rows : {1u, 3u, 64u}) {
            SCOPED_TRACE(std::to_string(colours) + " colours, strips of " +
                         std::to_string(strip_rows));
            const PixelOf pixel = [colours](std::size_t x, std::size_t y) {
                const std::size_t at = y * 40 + x;
                const std::size_t n = at < colours ? at : colours - 1 - at % colours;
                return static_cast<std::uint32_t>(0xFF000000u | n * 0x010203u);
            };
            const auto palette = palette_of_rows({40, 30}, strip_rows, rows_of(40, pixel), 3);
            EXPECT_EQ(palette, palette_of_rows({40, 30}, strip_rows, rows_of(40, pixel), 1));
            if (colours > kMostPaletteColours) {
                EXPECT_FALSE(palette);
                continue;
            }
            ASSERT_TRUE(palette);
            ASSERT_EQ(palette->size(), colours);
            for (std::size_t n = 0; n < colours; ++n) {
                ASSERT_EQ((*palette)[n], pixel(n % 40, n / 40)) << n;
            }
        }
    }
}

// The picture a PNG file's bytes decode to through QImage, as ARGB; empty when they do not decode.
std::vector<std::uint32_t> decoded_png(const std::string& png, QImage::Format* format) {
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                            static_cast<int>(png.size()), "PNG")) {
        return {};
    }
    *format = image.format();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(argb.constScanLine(y));
        pixels.insert(pixels.end(), line, line + argb.width());
    }
    return pixels;
}

TEST(PngInStrips, DecodesToThePixelsGivenAndIsTheSameFileOnAnyNumberOfThreads) {
    // Noise, smooth shading and flat runs, so that every row filter gets chosen somewhere.
    const PixelOf rgb = [](std::size_t x, std::size_t y) -> std::uint32_t {
        if (y % 3 == 0) {
            return 0xFF000000u | static_cast<std::uint32_t>((x * 2654435761u) ^ (y * 40503u));
        }
        return 0xFF000000u | static_cast<std::uint32_t>(x * 0x010101u + y * 0x000203u);
    };
    const PixelOf few = [](std::size_t x, std::size_t y) {
        return 0xFF000000u | static_cast<std::uint32_t>(((x / 3 + y) % 5) * 0x203040u);
    };
    const struct {
        int width;
        int height;
        std::size_t strip_rows;
        bool palette;
    } cases[] = {
        {1, 1, 64, false},  {1, 1, 64, true},     {5, 130, 64, false}, {37, 9, 1, false},
        {967, 3, 2, false}, {17, 200, 113, true}, {300, 7, 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + " in strips of " +
                     std::to_string(c.strip_rows) + (c.palette ? ", palette" : ", RGB"));
        const PixelOf& pixel = c.palette ? few : rgb;
        const auto width = static_cast<std::size_t>(c.width);
        PngLayout layout{c.width, c.height, {}};
        if (c.palette) {
            layout.palette = *palette_of_rows({c.width, c.height}, 5, rows_of(width, pixel), 1);
        }
        const std::string png = png_in_strips(layout, c.strip_rows, rows_of(width, pixel), 1);
        EXPECT_EQ(png_in_strips(layout, c.strip_rows, rows_of(width, pixel), 3), png);
        QImage::Format format = QImage::Format_Invalid;
        const std::vector<std::uint32_t> pixels = decoded_png(png, &format);
        ASSERT_EQ(pixels.size(), width * static_cast<std::size_t>(c.height));
        EXPECT_EQ(format == QImage::Format_Indexed8, c.palette);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            ASSERT_EQ(pixels[i], pixel(i % width, i / width)) << i;
        }
    }
}

}  // namespace
}  // namespace tvk
