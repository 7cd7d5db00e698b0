#include "preview_widget.h"

#include <algorithm>
#include <cmath>

#include "screen_image.h"

namespace tvk {

PreviewWidget::PreviewWidget(QWidget* parent)
    : QWidget(parent), m_image(kScreenWidth, kScreenHeight, QImage::Format_RGB32) {
    // Nothing has been shown yet: the preview starts black, like the all-zero pixel grid.
    m_image.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::show_grid(const PixelGrid& grid) {
    const Picture picture = picture_from_grid(grid);
    for (int y = 0; y < picture.height; ++y) {
        const auto row = picture.argb.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        std::copy(row, row + picture.width, reinterpret_cast<QRgb*>(m_image.scanLine(y)));
    }
    update();
}

void PreviewWidget::draw_scaled(QPainter& painter, const QImage& picture,
                                qreal device_pixel_ratio) {
    const int step = std::max(1, static_cast<int>(std::floor(device_pixel_ratio)));
    // Centred in the box on whole device pixels, so that every screen pixel stays one block.
    const auto margin = [device_pixel_ratio, step](int size) {
        const int box = static_cast<int>(std::floor(size * device_pixel_ratio));
        return std::floor((box - size * step) / 2.0) / device_pixel_ratio;
    };
    const qreal logical = step / device_pixel_ratio;
    painter.drawImage(QRectF(margin(picture.width()), margin(picture.height()),
                             picture.width() * logical, picture.height() * logical),
                      picture);
}

void PreviewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Anything the picture does not cover (fractional scales) stays the window's colour.
    painter.fillRect(rect(), palette().window());
    draw_scaled(painter, m_image, devicePixelRatioF());
}

}  // namespace tvk
