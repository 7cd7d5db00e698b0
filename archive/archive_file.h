#pragma once

#include <filesystem>
#include <system_error>

#include "archive_io.h"
#include "atomic_file.h"
#include "entry_store.h"

namespace tvk {

// Why an archive file was not opened or saved, where the file itself was fine.
enum class ArchiveError {
    not_an_archive = 1,  // the file was read but holds no archive
    too_many_entries,    // more entries than an archive can hold and read back
};

const std::error_category& archive_error_category();
std::error_code make_error_code(ArchiveError error);

// Clears the store, then loads the archive file into it. The store is empty unless opened.
// Fails with ArchiveError::not_an_archive, or with the file layer's reason when the file could not
// be read.
std::error_code open_archive_file(EntryStore& store, const std::filesystem::path& path);

// Saves the store as an archive file, replacing the target only when the whole file was written.
// A store of more than kMaxEntries entries is refused with ArchiveError::too_many_entries: its
// blocks would not read back. `wait_for_block` is as for save_archive.
std::error_code save_archive_file(EntryStore& store, const std::filesystem::path& path,
                                  const FileOps& ops = real_file_ops(),
                                  const BlockWait& wait_for_block = {});

}  // namespace tvk

template <>
struct std::is_error_code_enum<tvk::ArchiveError> : std::true_type {};
