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
    // Windows error numbers map to the portable conditions where one fits, so both platforms give
    // the C library's words; the rest keep the system's own text, less any closing full stop.
    const std::error_condition condition = error.default_error_condition();
    std::string text =
        condition.category() == std::generic_category() ? condition.message() : error.message();
    while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == '\r' ||
                             text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace tvk
