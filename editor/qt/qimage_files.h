#pragma once

#include <memory>

#include "image_files.h"

namespace tvk {

// The zlib level (0-9) of the PNG files written: 3 encodes a drawn screen in about half the time
// of the default level 6, for a file about a quarter larger (tvk_cli_bench prints both).
inline constexpr int kPngCompression = 3;

// Image files through QImage, writing PNG files at `png_compression` (0-9).
std::unique_ptr<ImageFiles> make_qimage_files(int png_compression);

}  // namespace tvk
