#pragma once

#include <map>
#include <new>
#include <string>

#include "image_files.h"
#include "temp_folder.h"

namespace tvk::test {

// Image files whose bytes are a key to the picture they were encoded from, so that a picture of
// any size or content can be put on disk and an exported screen reads back exactly.
class FakeImageFiles : public ImageFiles {
  public:
    PictureFile read_picture(const std::filesystem::path& file,
                             std::optional<PictureSize> only_size) override {
        if (throw_on_read) {
            throw std::bad_alloc();
        }
        const auto found = encoded.find(read_file(file));
        if (found == encoded.end()) {
            return {{}, std::string(kNotAPicture)};
        }
        Picture picture = found->second;
        if (only_size &&
            (only_size->width != picture.width || only_size->height != picture.height)) {
            picture.argb.clear();
        }
        return {picture, {}};
    }
    std::optional<std::string> encode_png(const Picture& picture) override {
        if (fail_encoding) {
            return std::nullopt;
        }
        const std::string bytes = "picture " + std::to_string(encoded.size());
        encoded[bytes] = picture;
        return bytes;
    }
    // The editor writes its screens as RGB only.
    std::optional<std::string> encode_palette_png(const PalettePicture&) override { return {}; }

    std::map<std::string, Picture> encoded;
    bool fail_encoding = false;
    bool throw_on_read = false;
};

}  // namespace tvk::test
