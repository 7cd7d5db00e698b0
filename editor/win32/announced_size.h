#pragma once

#include <filesystem>
#include <optional>

#include "image_files.h"

namespace tvk {

// The size that an image file's header announces, read through the Windows Imaging Component
// without decoding a pixel; nullopt when it cannot tell (an unknown format, no such component).
// Callable on any thread.
std::optional<PictureSize> announced_size(const std::filesystem::path& file);

}  // namespace tvk
