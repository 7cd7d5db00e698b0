#include "image_files.h"

#include "file_ops.h"

namespace tvk {

std::string unreadable_file_reason(const std::filesystem::path& file) {
    // A FIFO or a device is refused without being opened, which could wait for ever.
    OpenFile opened;
    if (const std::error_code error = open_for_reading(file, opened)) {
        return reason_text(error);
    }
    close_file(opened);
    return {};
}

}  // namespace tvk
