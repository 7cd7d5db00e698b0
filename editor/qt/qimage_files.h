#pragma once

#include <memory>

#include "image_files.h"

namespace tvk {

// The zlib level (0-9) of the PNG files written: 1 encodes a screen in a fraction of the default
// level's time for a file only a little larger.
inline constexpr int kPngCompression = 1;

// Image files through QImage, writing PNG files at `png_compression` (0-9).
std::unique_ptr<ImageFiles> make_qimage_files(int png_compression);

}  // namespace tvk
