#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "screen_format.h"

namespace tvk {

// The 120 x 112 screen preview. It keeps the picture it was given last, so a repaint only copies
// pixels and never decodes a screen.
class PreviewWidget : public QWidget {
  public:
    explicit PreviewWidget(QWidget* parent);

    void show_grid(const PixelGrid& grid);
    const QImage& image() const { return m_image; }

    // Draws `picture` at whole steps of device pixels, centred in a box of its own logical size
    // whose top-left corner is the painter's origin.
    static void draw_scaled(QPainter& painter, const QImage& picture, qreal device_pixel_ratio);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_image;
};

}  // namespace tvk
