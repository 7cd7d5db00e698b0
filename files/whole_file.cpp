#include "whole_file.h"

#include "file_ops.h"

namespace tvk {

std::optional<std::string> read_file_bytes(const std::filesystem::path& path,
                                           std::error_code* error, std::size_t most) {
    constexpr std::size_t kPiece = 64 * 1024;
    std::string bytes;
    OpenFile file;
    std::error_code failure = open_for_reading(path, file);
    for (std::size_t count = kPiece; !failure && count != 0;) {
        if (bytes.size() > most) {
            failure = std::make_error_code(std::errc::file_too_large);
            break;
        }
        const std::size_t start = bytes.size();
        bytes.resize(start + kPiece);
        failure = read_at(file, start, bytes.data() + start, kPiece, count);
        bytes.resize(start + count);
    }
    close_file(file);
    if (failure) {
        if (error) {
            *error = failure;
        }
        return std::nullopt;
    }
    return bytes;
}

}  // namespace tvk
