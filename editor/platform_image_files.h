#pragma once

#include <memory>

#include "image_files.h"

namespace tvk {

// The image files of the platform's image library: QImage on Linux, GDI+ on Windows. The object
// keeps whatever the library needs running for as long as it lives.
std::unique_ptr<ImageFiles> make_platform_image_files();

}  // namespace tvk
