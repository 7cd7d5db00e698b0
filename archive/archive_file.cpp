#include "archive_file.h"

#include <istream>

#include "archive_io.h"
#include "file_read_buffer.h"

namespace tvk {
namespace {

class ArchiveErrorCategory : public std::error_category {
  public:
    const char* name() const noexcept override { return "tvk archive"; }
    std::string message(int value) const override {
        switch (static_cast<ArchiveError>(value)) {
            case ArchiveError::not_an_archive:
                return "Not an archive";
            case ArchiveError::too_many_entries:
                return "Too many entries";
        }
        return "Unknown error";
    }
};

}  // namespace

const std::error_category& archive_error_category() {
    static const ArchiveErrorCategory category;
    return category;
}

std::error_code make_error_code(ArchiveError error) {
    return {static_cast<int>(error), archive_error_category()};
}

std::error_code open_archive_file(EntryStore& store, const std::filesystem::path& path) {
    store.clear();
    OpenFile file;
    if (const std::error_code error = open_for_reading(path, file)) {
        return error;
    }
    FileReadBuffer buffer(std::move(file));
    std::istream stream(&buffer);
    const int loaded = load_archive(store, stream);
    if (buffer.error()) {
        // A read that failed part way is no short file: nothing of it is kept.
        store.clear();
        return buffer.error();
    }
    return loaded == kLoaded ? std::error_code() : make_error_code(ArchiveError::not_an_archive);
}

std::error_code save_archive_file(EntryStore& store, const std::filesystem::path& path,
                                  const FileOps& ops, const BlockWait& wait_for_block) {
    if (store.count() > kMaxEntries) {
        return make_error_code(ArchiveError::too_many_entries);
    }
    return save_file_atomically(
        path,
        [&store, &wait_for_block](std::ostream& stream) {
            save_archive(store, stream, wait_for_block);
        },
        ops);
}

}  // namespace tvk
