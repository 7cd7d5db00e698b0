#pragma once

#include <filesystem>
#include <optional>

#include "image_files.h"

namespace tvk {

// Reads a PNG file of at most 8 bits a sample straight through libpng, as Qt's own PNG reader
// does, but without what Qt does around it for every file: it looks up its image plugins under a
// lock of the whole process, which threads reading many pictures at once then mostly wait for.
// The pixels are the colours the file stores, with their alpha, as ImageFiles::read_picture gives
// them; a file of another size than `only_size` gives its size without pixels. nullopt for every
// file that is not read here (no PNG signature, 16-bit samples, a grey picture with a transparent
// grey, numbers beyond the palette, damage), which Qt then reads, so that what is read here and
// what Qt reads never differ.
std::optional<PictureFile> read_png_picture(const std::filesystem::path& file,
                                            std::optional<PictureSize> only_size);

}  // namespace tvk
