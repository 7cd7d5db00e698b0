#include "archive_file.h"

#include <fstream>

#include "archive_io.h"

namespace tvk {

OpenResult open_archive_file(EntryStore& store, const std::filesystem::path& path) {
    store.clear();
    // std::ifstream takes the path's native form: UTF-8 bytes here, UTF-16 on Windows, where the
    // runtime opens it with sharing allowed.
    // A folder opens as a stream on some systems; it is no file to read all the same.
    std::error_code ignored;
    std::ifstream stream(path, std::ios::binary);
    if (!stream.is_open() || std::filesystem::is_directory(path, ignored)) {
        return OpenResult::cannot_open;
    }
    return load_archive(store, stream) == kLoaded ? OpenResult::opened : OpenResult::not_an_archive;
}

SaveResult save_archive_file(EntryStore& store, const std::filesystem::path& path,
                             const FileOps& ops) {
    if (store.count() > kMaxEntries) {
        return SaveResult::too_many_entries;
    }
    const bool saved = save_file_atomically(
        path, [&store](std::ostream& stream) { save_archive(store, stream); }, ops);
    return saved ? SaveResult::saved : SaveResult::cannot_save;
}

}  // namespace tvk
