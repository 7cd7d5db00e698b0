#pragma once

#include <ostream>

#include "atomic_file.h"
#include "image_files.h"

namespace tvk {

inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

// What a command works with: its two output streams, the platform's image files and the file
// operations that every save goes through.
struct CliContext {
    std::ostream& out;
    std::ostream& err;
    ImageFiles& images;
    const FileOps& file_ops = real_file_ops();
};

}  // namespace tvk
