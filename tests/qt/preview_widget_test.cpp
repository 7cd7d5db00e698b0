#include "preview_widget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "screen_image.h"

namespace tvk {
namespace {

// A grid where every pixel differs from its neighbours.
PixelGrid pattern() {
    PixelGrid grid{};
    for (std::size_t x = 0; x < kScreenWidth; ++x) {
        for (std::size_t y = 0; y < kScreenHeight; ++y) {
            grid[grid_index(x, y)] =
                static_cast<ColourValue>((x * 2) | (y * 2) << 8 | ((x + y) % 256) << 16);
        }
    }
    return grid;
}

QRgb expected_at(const PixelGrid& grid, int x, int y) {
    return argb_from_colour(
        grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))]);
}

// The picture drawn onto an image of `ratio` device pixels per logical pixel, on magenta.
QImage draw_at(const QImage& picture, qreal ratio) {
    QImage image(static_cast<int>(kScreenWidth * ratio), static_cast<int>(kScreenHeight * ratio),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    PreviewWidget::draw_scaled(painter, picture, ratio);
    return image;
}

TEST(PreviewWidget, DoubleDensityShowsEachPixelAsATwoByTwoBlock) {
    QWidget window;
    PreviewWidget preview(&window);
    const PixelGrid grid = pattern();
    preview.show_grid(grid);
    const QImage image = draw_at(preview.image(), 2);
    for (const auto& [x, y] : {std::pair{0, 0}, {119, 111}, {37, 81}}) {
        for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}}) {
            EXPECT_EQ(image.pixel(2 * x + dx, 2 * y + dy), expected_at(grid, x, y))
                << x << ", " << y;
        }
    }
}

TEST(PreviewWidget, FractionalDensityKeepsOneDevicePixelPerScreenPixelCentredInTheBox) {
    QWidget window;
    PreviewWidget preview(&window);
    const PixelGrid grid = pattern();
    preview.show_grid(grid);
    // The box is 180 x 168 device pixels; the picture 120 x 112 of them, 30 and 28 from its edges.
    const QImage image = draw_at(preview.image(), 1.5);
    for (const auto& [x, y] : {std::pair{0, 0}, {119, 111}, {37, 81}}) {
        EXPECT_EQ(image.pixel(30 + x, 28 + y), expected_at(grid, x, y)) << x << ", " << y;
    }
    // Around it nothing is drawn: no stretched, blurred copy.
    for (const auto& [x, y] : {std::pair{29, 50}, {150, 50}, {50, 27}, {50, 140}}) {
        EXPECT_EQ(image.pixel(x, y), QColor(Qt::magenta).rgb()) << x << ", " << y;
    }
}

}  // namespace
}  // namespace tvk
