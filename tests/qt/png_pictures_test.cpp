#include "png_pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "temp_folder.h"

namespace tvk::test {
namespace {

// The pixels as Qt reads the file, as ImageFiles gives them.
std::vector<std::uint32_t> read_by_qt(const std::filesystem::path& file) {
    const QImage image =
        QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        argb.insert(argb.end(), line, line + image.width());
    }
    return argb;
}

}  // namespace

// Every kind of PNG file Qt writes reads as Qt reads it, or is left to Qt: 16-bit samples,
// another file behind a PNG name, a cut file. A picture of another size gives only its size.
TEST(PngPictures, ReadAsQtReadsThemOrLeftToQt) {
    TempFolder folder;
    QImage colours(120, 112, QImage::Format_ARGB32);
    for (int y = 0; y < colours.height(); ++y) {
        for (int x = 0; x < colours.width(); ++x) {
            const int alpha = x < 60 ? 255 : (x * 7 + y * 3) % 256;
            colours.setPixel(x, y, qRgba((x * 37) % 256, (y * 11) % 256, (x * y) % 256, alpha));
        }
    }
    const std::vector<std::pair<const char*, QImage::Format>> forms = {
        {"mono", QImage::Format_Mono},          {"palette", QImage::Format_Indexed8},
        {"grey", QImage::Format_Grayscale8},    {"rgb", QImage::Format_RGB888},
        {"opaque", QImage::Format_RGB32},       {"alpha", QImage::Format_ARGB32},
        {"grey16", QImage::Format_Grayscale16}, {"rgba64", QImage::Format_RGBA64}};
    for (const auto& [name, format] : forms) {
        const std::filesystem::path file = folder / (std::string(name) + ".png");
        ASSERT_TRUE(
            colours.convertToFormat(format).save(QString::fromStdString(file.string()), "PNG"));
        const std::optional<PictureFile> read = read_png_picture(file, PictureSize{120, 112});
        if (std::string(name).ends_with("16") || std::string(name).ends_with("64")) {
            EXPECT_FALSE(read) << name;
            continue;
        }
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(read->error, "");
        EXPECT_EQ(read->picture.width, 120);
        EXPECT_EQ(read->picture.argb, read_by_qt(file)) << name;
    }
    const std::optional<PictureFile> other =
        read_png_picture(folder / "rgb.png", PictureSize{120, 113});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->picture.height, 112);
    EXPECT_TRUE(other->picture.argb.empty());

    ASSERT_TRUE(colours.save(QString::fromStdString((folder / "bitmap.png").string()), "BMP"));
    write_file(folder / "cut.png", read_file(folder / "rgb.png").substr(0, 200));
    for (const char* name : {"bitmap.png", "cut.png", "missing.png"}) {
        EXPECT_FALSE(read_png_picture(folder / name, std::nullopt)) << name;
    }
}

}  // namespace tvk::test
