#include "png_pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "picture_bytes.h"
#include "temp_folder.h"

namespace tvk::test {
namespace {

QString qt_name(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

// The pixels as Qt reads the file, as ImageFiles gives them.
std::vector<std::uint32_t> read_by_qt(const std::filesystem::path& file) {
    const QImage image = QImage(qt_name(file)).convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        argb.insert(argb.end(), line, line + image.width());
    }
    return argb;
}

// Rows of `bytes_per_row` bytes, unfiltered, each byte made from its place.
std::string rows_of(std::size_t bytes_per_row, std::uint8_t (*byte)(std::size_t x, std::size_t y)) {
    std::string rows;
    for (std::size_t y = 0; y < 112; ++y) {
        rows += '\0';
        for (std::size_t x = 0; x < bytes_per_row; ++x) {
            rows += static_cast<char>(byte(x, y));
        }
    }
    return rows;
}

}  // namespace

// Every PNG file reads here as Qt reads it, or is left to Qt: each form Qt writes, and by hand
// grey, RGB and palette files with a transparent colour, a palette too short for its numbers and
// grey with alpha. A picture of another size gives only its size.
TEST(PngPictures, ReadAsQtReadsThemOrLeftToQt) {
    TempFolder folder;
    QImage colours(120, 112, QImage::Format_ARGB32);
    for (int y = 0; y < colours.height(); ++y) {
        for (int x = 0; x < colours.width(); ++x) {
            const int alpha = x < 60 ? 255 : (x * 7 + y * 3) % 256;
            colours.setPixel(x, y, qRgba((x * 37) % 256, (y * 11) % 256, (x * y) % 256, alpha));
        }
    }
    const std::vector<std::pair<std::string, QImage::Format>> qt_forms = {
        {"mono", QImage::Format_Mono},          {"palette", QImage::Format_Indexed8},
        {"grey", QImage::Format_Grayscale8},    {"rgb", QImage::Format_RGB888},
        {"opaque", QImage::Format_RGB32},       {"alpha", QImage::Format_ARGB32},
        {"grey16", QImage::Format_Grayscale16}, {"rgba64", QImage::Format_RGBA64}};
    for (const auto& [name, format] : qt_forms) {
        ASSERT_TRUE(colours.convertToFormat(format).save(qt_name(folder / (name + ".png")), "PNG"));
    }
    const auto varied = [](std::size_t x, std::size_t y) {
        return static_cast<std::uint8_t>(x * 37 + y * 11);
    };
    write_file(folder / "grey4_key.png",
               png_file({120, 112, 4, 0}, rows_of(60, varied), png_chunk_of("tRNS", {"\0\5", 2})));
    write_file(folder / "rgb_key.png", png_file({120, 112, 8, 2}, rows_of(360, varied),
                                                png_chunk_of("tRNS", {"\0\x25\0\x4a\0\x6f", 6})));
    write_file(folder / "palette2_key.png",
               png_file({120, 112, 2, 3}, rows_of(30, varied),
                        png_chunk_of("PLTE", {"\xff\0\0\0\xff\0\0\0\xff\x09\x09\x09", 12}) +
                            png_chunk_of("tRNS", {"\xff\x80\0", 3})));
    write_file(folder / "palette2_short.png",
               png_file({120, 112, 2, 3}, rows_of(30, varied),
                        png_chunk_of("PLTE", {"\xff\0\0\0\xff\0\0\0\xff", 9})));
    write_file(folder / "grey_alpha.png", png_file({120, 112, 8, 4}, rows_of(240, varied)));

    std::vector<std::string> read_here;
    for (const std::string name :
         {"mono", "palette", "grey", "rgb", "opaque", "alpha", "grey16", "rgba64", "grey4_key",
          "rgb_key", "palette2_key", "palette2_short", "grey_alpha"}) {
        const std::filesystem::path file = folder / (name + ".png");
        if (const std::optional<PictureFile> read = read_png_picture(file, PictureSize{120, 112})) {
            read_here.push_back(name);
            EXPECT_EQ(read->error, "");
            EXPECT_EQ(read->picture.width, 120);
            EXPECT_EQ(read->picture.argb, read_by_qt(file)) << name;
        }
    }
    EXPECT_EQ(read_here,
              (std::vector<std::string>{"mono", "palette", "grey", "rgb", "opaque", "alpha",
                                        "rgb_key", "palette2_key", "grey_alpha"}));

    const std::optional<PictureFile> other =
        read_png_picture(folder / "rgb.png", PictureSize{120, 113});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->picture.height, 112);
    EXPECT_TRUE(other->picture.argb.empty());

    ASSERT_TRUE(colours.save(qt_name(folder / "bitmap.png"), "BMP"));
    write_file(folder / "cut.png", read_file(folder / "rgb.png").substr(0, 200));
    for (const char* name : {"bitmap.png", "cut.png", "missing.png"}) {
        EXPECT_FALSE(read_png_picture(folder / name, std::nullopt)) << name;
    }
}

}  // namespace tvk::test
