#pragma once

#include <filesystem>

#include "atomic_file.h"
#include "entry_store.h"

namespace tvk {

enum class OpenResult { opened, cannot_open, not_an_archive };
enum class SaveResult { saved, too_many_entries, cannot_save };

// Clears the store, then loads the archive file into it. The store is empty unless opened.
OpenResult open_archive_file(EntryStore& store, const std::filesystem::path& path);

// Saves the store as an archive file, replacing the target only when the whole file was written.
// A store of more than kMaxEntries entries is refused: its blocks would not read back.
SaveResult save_archive_file(EntryStore& store, const std::filesystem::path& path,
                             const FileOps& ops = real_file_ops());

}  // namespace tvk
