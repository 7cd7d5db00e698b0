#include "preview_widget.h"

#include <gtest/gtest.h>

#include "builders.h"
#include "screen_image.h"

namespace tvk::test {

// At any scale each screen pixel is a block of whole device pixels, centred in the preview's box.
TEST(PreviewWidget, DrawsWholeDevicePixelsCentredInItsBox) {
    const PixelGrid grid =
        make_grid([](int x, int y) { return ColourValue(x | y << 8 | 1 << 16); });
    PreviewWidget preview(nullptr);
    preview.show_grid(grid);
    // Device pixels per logical pixel; the device pixel looked at; the screen pixel seen there, or
    // none (-1: the box as it was). At 1.5 the box is 180 x 168 device pixels.
    const std::vector<std::array<double, 5>> cases = {
        {1, 0, 0, 0, 0},           {1, 119, 111, 119, 111}, {2, 1, 1, 0, 0},
        {2, 239, 223, 119, 111},   {2, 75, 162, 37, 81},    {1.5, 30, 28, 0, 0},
        {1.5, 149, 139, 119, 111}, {1.5, 29, 28, -1, -1},   {1.5, 150, 139, -1, -1},
        {1.5, 30, 27, -1, -1},     {1.5, 149, 140, -1, -1}};
    for (const auto& [ratio, x, y, screen_x, screen_y] : cases) {
        QImage image(static_cast<int>(120 * ratio), static_cast<int>(112 * ratio),
                     QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(0);
        QPainter painter(&image);
        PreviewWidget::draw_scaled(painter, preview.image(), ratio);
        painter.end();
        EXPECT_EQ(image.pixel(x, y), screen_x < 0
                                         ? 0xFF000000u
                                         : argb_from_colour(grid[grid_index(screen_x, screen_y)]))
            << ratio << " at " << x << ", " << y;
    }
}

}  // namespace tvk::test
