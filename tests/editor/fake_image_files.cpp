#include "fake_image_files.h"

#include <fstream>
#include <iterator>
#include <new>
#include <sstream>

namespace tvk::test {
namespace {

constexpr std::string_view kMagic = "TVK-TEST-PICTURE";

}  // namespace

std::string serialise_picture(const Picture& picture) {
    std::ostringstream out;
    out << kMagic << ' ' << picture.width << ' ' << picture.height;
    for (std::uint32_t argb : picture.argb) {
        out << ' ' << argb;
    }
    return out.str();
}

void write_picture_file(const std::filesystem::path& file, const Picture& picture) {
    std::ofstream(file, std::ios::binary) << serialise_picture(picture);
}

std::optional<Picture> read_picture_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    Picture picture;
    if (!(in >> magic >> picture.width >> picture.height) || magic != kMagic || picture.width < 0 ||
        picture.height < 0) {
        return std::nullopt;
    }
    picture.argb.assign(std::istream_iterator<std::uint32_t>(in), {});
    if (!in.eof() || picture.argb.size() != static_cast<std::size_t>(picture.width) *
                                                static_cast<std::size_t>(picture.height)) {
        return std::nullopt;
    }
    return picture;
}

PictureFile FakeImageFiles::read_picture(const std::filesystem::path& file,
                                         std::optional<PictureSize> only_size) {
    ++pictures_read;
    if (throw_on_read) {
        throw std::bad_alloc();
    }
    std::optional<Picture> picture = read_picture_file(file);
    if (!picture) {
        return {{}, std::string(kNotAPicture)};
    }
    if (only_size && (picture->width != only_size->width || picture->height != only_size->height)) {
        picture->argb.clear();
    }
    return {std::move(*picture), {}};
}

std::optional<std::string> FakeImageFiles::encode_png(const Picture& picture) {
    if (fail_encoding) {
        return std::nullopt;
    }
    return serialise_picture(picture);
}

std::optional<std::string> FakeImageFiles::encode_palette_png(const PalettePicture& picture) {
    Picture colours{picture.width, picture.height, {}};
    for (const std::uint8_t index : picture.indexes) {
        colours.argb.push_back(picture.palette[index]);
    }
    return encode_png(colours);
}

}  // namespace tvk::test
