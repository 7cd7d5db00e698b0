#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace tvk {

// The file operations that an atomic save depends on; tests replace them to inject failures.
struct FileOps {
    // Makes the temporary's output stream; the default opens a std::ofstream in binary mode.
    std::function<std::unique_ptr<std::ostream>(const std::filesystem::path&)> open_output;
    // Finishes the stream (flush and close); false when either failed.
    std::function<bool(std::ostream&)> finish_output;
    // Replaces `to` by `from`; false on failure.
    std::function<bool(const std::filesystem::path& from, const std::filesystem::path& to)> replace;
};

// The operations used when nothing is injected.
const FileOps& real_file_ops();

// Writes a file through a temporary in the target's folder and replaces the target only when every
// write, the flush and the close succeeded. On failure the temporary is removed, the target is left
// as it was, and false is returned.
bool save_file_atomically(const std::filesystem::path& target,
                          const std::function<void(std::ostream&)>& write_contents,
                          const FileOps& ops = real_file_ops());

}  // namespace tvk
