#pragma once

#include <memory>

#include "image_files.h"

namespace tvk {

// Image files through QImage, writing PNG files at `png_compression` (0-9).
std::unique_ptr<ImageFiles> make_qimage_files(int png_compression);

}  // namespace tvk
