#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string_view>
#include <system_error>

#include "file_ops.h"

namespace tvk {

// Writes a file through a temporary and replaces the target only when every write, the flush and
// the close succeeded. What is replaced is kept as far as it matters: a symbolic link stays and the
// file it leads to is replaced (the temporary beside that file); the permission bits, owner and
// group carry over; an existing target that this user may not write, or that is no regular file,
// is refused before anything is written. On failure the temporary is removed, the target is left
// as it was, and the reason is returned.
std::error_code save_file_atomically(const std::filesystem::path& target,
                                     const std::function<void(std::ostream&)>& write_contents,
                                     const FileOps& ops = real_file_ops());

// Writes `bytes` into `file` in place, for the many new files of one command that is itself undone
// by removing them: no temporary, no rename, none of the replaced file's owner or bits to carry
// over. A file that cannot be written whole is removed; the reason is returned.
std::error_code save_file_in_place(const std::filesystem::path& file, std::string_view bytes,
                                   const FileOps& ops = real_file_ops());

// The file that saving `target` writes: where a chain of symbolic links leads, `target` itself
// otherwise.
std::filesystem::path file_saved_at(const std::filesystem::path& target);

}  // namespace tvk
