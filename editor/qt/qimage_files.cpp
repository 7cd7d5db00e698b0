#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform_image_files.h"
#include "qt_path.h"

namespace tvk {
namespace {

class QImageFiles final : public ImageFiles {
  public:
    Picture read_picture(const std::filesystem::path& file) override {
        QImage image;
        if (!image.load(qt_path(file))) {
            return {};
        }
        // The first frame of an animated or multi-page file, as 0xAARRGGBB words.
        image = image.convertToFormat(QImage::Format_ARGB32);
        Picture picture{image.width(), image.height(), {}};
        picture.argb.reserve(static_cast<std::size_t>(picture.width) *
                             static_cast<std::size_t>(picture.height));
        for (int y = 0; y < picture.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            picture.argb.insert(picture.argb.end(), line, line + picture.width);
        }
        return picture;
    }

    std::optional<std::string> encode_png(const Picture& picture) override {
        QImage image(picture.width, picture.height, QImage::Format_RGB32);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                image.setPixel(x, y, picture.pixel(x, y) | 0xFF000000u);
            }
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "PNG")) {
            return std::nullopt;
        }
        return bytes.toStdString();
    }
};

}  // namespace

std::unique_ptr<ImageFiles> make_platform_image_files() {
    return std::make_unique<QImageFiles>();
}

}  // namespace tvk
