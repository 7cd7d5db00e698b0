#pragma once

#include <string>
#include <system_error>

namespace tvk {

// Reasons of the file layer that the system has no error number for.
enum class FileError {
    not_a_regular_file = 1,  // a FIFO, device, socket or folder where a file is expected
    not_encoded,             // a picture that could not be encoded for writing
};

const std::error_category& file_error_category();
std::error_code make_error_code(FileError error);

// The reason as one short sentence without a full stop, the same words on every platform for the
// common reasons: "Permission denied", "No such file or directory", ...
std::string reason_text(const std::error_code& error);

}  // namespace tvk

template <>
struct std::is_error_code_enum<tvk::FileError> : std::true_type {};
