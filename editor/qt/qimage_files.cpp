#include "qimage_files.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QList>
#include <QPixelFormat>
#include <QString>
#include <algorithm>
#include <cstring>

#include "platform_image_files.h"
#include "png_pictures.h"
#include "qt_path.h"

namespace tvk {
namespace {

constexpr QRgb kOpaque = 0xFF000000u;

// True when decoding multiplied the colours by a partial alpha, which loses them for good.
bool colours_lost_to_alpha(const QImage& decoded, const Picture& picture) {
    if (decoded.pixelFormat().premultiplied() != QPixelFormat::Premultiplied) {
        return false;
    }
    return std::any_of(picture.argb.begin(), picture.argb.end(),
                       [](std::uint32_t argb) { return (argb & kOpaque) != kOpaque; });
}

class QImageFiles final : public ImageFiles {
  public:
    explicit QImageFiles(int png_compression) : m_png_compression(png_compression) {}

    PictureFile read_picture(const std::filesystem::path& file,
                             std::optional<PictureSize> only_size) override {
        if (std::string reason = unreadable_file_reason(file); !reason.empty()) {
            return {{}, std::move(reason)};
        }
        if (std::optional<PictureFile> png = read_png_picture(file, only_size)) {
            return std::move(*png);
        }
        QImageReader reader(qt_path(file));
        // Most formats announce their size in a header: a picture of another size is refused
        // before a single pixel is decoded or allocated.
        QSize announced = reader.size();
        // A bitmap stored top row first announces its height as negative.
        if (announced.width() >= 0 && announced.height() < 0) {
            announced.setHeight(-announced.height());
        }
        const auto other_size = [&only_size](const QSize& size) {
            return only_size &&
                   (size.width() != only_size->width || size.height() != only_size->height);
        };
        if (announced.isValid() && other_size(announced)) {
            return {{announced.width(), announced.height(), {}}, {}};
        }
        QImage decoded;
        if (!reader.read(&decoded)) {
            return {{}, std::string(kNotAPicture)};
        }
        // A format that announced no size (or another one) still gives pixels only at that size.
        if (other_size(decoded.size())) {
            return {{decoded.width(), decoded.height(), {}}, {}};
        }
        // The first frame of an animated or multi-page file, as 0xAARRGGBB words.
        const QImage image = decoded.convertToFormat(QImage::Format_ARGB32);
        Picture picture{image.width(), image.height(), {}};
        picture.argb.reserve(static_cast<std::size_t>(picture.width) *
                             static_cast<std::size_t>(picture.height));
        for (int y = 0; y < picture.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            picture.argb.insert(picture.argb.end(), line, line + picture.width);
        }
        if (colours_lost_to_alpha(decoded, picture)) {
            return {{}, std::string(kInexactColours)};
        }
        return {std::move(picture), {}};
    }

    std::optional<std::string> encode_png(const Picture& picture) override {
        QImage image(picture.width, picture.height, QImage::Format_RGB888);
        if (image.isNull()) {
            return std::nullopt;
        }
        for (int y = 0; y < picture.height; ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < picture.width; ++x) {
                const QRgb argb = picture.pixel(x, y);
                line[3 * x] = static_cast<uchar>(qRed(argb));
                line[3 * x + 1] = static_cast<uchar>(qGreen(argb));
                line[3 * x + 2] = static_cast<uchar>(qBlue(argb));
            }
        }
        return png_bytes(image);
    }

    std::optional<std::string> encode_palette_png(const PalettePicture& picture) override {
        QImage image(picture.width, picture.height, QImage::Format_Indexed8);
        if (image.isNull()) {
            return std::nullopt;
        }
        QList<QRgb> colours;
        for (const std::uint32_t argb : picture.palette) {
            colours.push_back(argb | kOpaque);
        }
        image.setColorTable(colours);
        const auto width = static_cast<std::size_t>(picture.width);
        for (int y = 0; y < picture.height; ++y) {
            std::memcpy(image.scanLine(y),
                        picture.indexes.data() + static_cast<std::size_t>(y) * width, width);
        }
        return png_bytes(image);
    }

  private:
    std::optional<std::string> png_bytes(const QImage& image) const {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "PNG");
        // Qt takes 0-100 for zlib's levels 0-9 (level = value * 9 / 91).
        writer.setCompression((m_png_compression * 91 + 8) / 9);
        if (!writer.write(image)) {
            return std::nullopt;
        }
        return bytes.toStdString();
    }

    int m_png_compression;
};

}  // namespace

std::unique_ptr<ImageFiles> make_qimage_files(int png_compression) {
    return std::make_unique<QImageFiles>(png_compression);
}

std::unique_ptr<ImageFiles> make_platform_image_files() {
    return make_qimage_files(kPngCompression);
}

}  // namespace tvk
