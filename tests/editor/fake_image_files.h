#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "image_files.h"

namespace tvk::test {

// Image files in a small format of the tests' own: a magic line, the size, then the ARGB values.
// "PNG" files written through it read back exactly, and pictures of any size or content can be
// put on disk for the editor to import.
class FakeImageFiles : public ImageFiles {
  public:
    // Anything that is not a file of the test format reads as a picture of size 0 x 0 with an
    // error; a picture of another size than `only_size` has no pixels.
    PictureFile read_picture(const std::filesystem::path& file,
                             std::optional<PictureSize> only_size) override;
    std::optional<std::string> encode_png(const Picture& picture) override;
    // Writes the palette picture's colours, as the test format has no palette.
    std::optional<std::string> encode_palette_png(const PalettePicture& picture) override;

    // When set, encoding fails as a library without a PNG encoder would.
    bool fail_encoding = false;
    // When set, reading throws std::bad_alloc, as a library that runs out of memory would.
    bool throw_on_read = false;
    int pictures_read = 0;
};

std::string serialise_picture(const Picture& picture);
// Writes `picture` as a file that FakeImageFiles reads.
void write_picture_file(const std::filesystem::path& file, const Picture& picture);
// The picture of a file that FakeImageFiles wrote; nullopt when it is not one.
std::optional<Picture> read_picture_file(const std::filesystem::path& file);

}  // namespace tvk::test
