#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

namespace tvk {

// The whole content of a regular file; nullopt, with the reason in `error` when given, when it
// cannot be read, or when it holds more than `most` bytes (File too large).
std::optional<std::string> read_file_bytes(
    const std::filesystem::path& path, std::error_code* error = nullptr,
    std::size_t most = std::numeric_limits<std::size_t>::max());

}  // namespace tvk
