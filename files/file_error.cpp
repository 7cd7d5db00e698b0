#include "file_error.h"

namespace tvk {
namespace {

class FileErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "tvk file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
            case FileError::not_a_regular_file:
                return "Not a regular file";
            case FileError::not_encoded:
                return "The picture could not be encoded";
        }
        return "Unknown error";
    }
};

}  // namespace

const std::error_category& file_error_category() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError error) {
    return {static_cast<int>(error), file_error_category()};
}

std::string reason_text(const std::error_code& error) {
    // The file layer gives portable codes where one fits, so both platforms use the C library's
    // words; a Windows code without one keeps the system's text, less its closing full stop.
    std::string text = error.message();
    while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == '\r' ||
                             text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace tvk
