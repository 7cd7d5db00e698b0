#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

#include "file_error.h"

// The file layer: the few system calls that reading and saving files need, the same on every
// platform to the code above it.
namespace tvk {

// A file this layer opened: a descriptor on POSIX systems, a HANDLE on Windows.
struct OpenFile {
    static constexpr std::intptr_t kNone = -1;
    std::filesystem::path path;
    std::intptr_t handle = kNone;
};

// The steps of a save, through which every file is written; tests replace some to inject
// failures or refusals.
struct FileOps {
    // Checks that the existing `file` may be replaced: a regular file that this user may write.
    std::function<std::error_code(const std::filesystem::path& file)> check_replaceable;
    // Creates a new temporary file under a short name in `file`'s folder, exclusively (never one
    // that exists), with the permission bits, owner and group of `file` when it exists.
    std::function<std::error_code(const std::filesystem::path& file, OpenFile& temporary)>
        create_temporary;
    // Opens `file` for writing in place with its bytes as they are, for the writer to write over and
    // then cut to length; creates it when it does not exist. Only a regular file that this user may
    // write is opened.
    std::function<std::error_code(const std::filesystem::path& file, OpenFile& opened)>
        create_in_place;
    // Writes all of `bytes` at `offset`.
    std::function<std::error_code(OpenFile& file, std::uint64_t offset, std::string_view bytes)>
        write;
    // Ends the file at `size` bytes, dropping any beyond.
    std::function<std::error_code(OpenFile& file, std::uint64_t size)> cut;
    // Flushes the file to disk when `durable`, then closes it; closed even when it fails.
    std::function<std::error_code(OpenFile& file, bool durable)> close;
    // Puts `from` in place of `to` in one step; flushes the folder to disk when `durable`.
    std::function<std::error_code(const std::filesystem::path& from,
                                  const std::filesystem::path& to, bool durable)>
        replace;
    // False when the caller flushes the folder once after writing many files (flush_folder). On
    // Windows, which cannot flush a folder, every file is flushed all the same.
    bool durable = true;
};

// The system's operations.
const FileOps& real_file_ops();

// Opens an existing regular file for reading. Anything else (FIFO, device, socket, folder) is
// refused at once, without waiting for a writer or a device.
std::error_code open_for_reading(const std::filesystem::path& path, OpenFile& file);
// Reads up to `size` bytes from `offset` into `bytes`; `count` is 0 at the end of the file.
std::error_code read_at(const OpenFile& file, std::uint64_t offset, char* bytes, std::size_t size,
                        std::size_t& count);
// Closes a file opened for reading; nothing for a file that is not open.
void close_file(OpenFile& file);

// Flushes to disk the files written into `folder` without flushing and the folder itself.
std::error_code flush_folder(const std::filesystem::path& folder);

// An exclusive lock shared by the processes of this program that change files in one folder,
// held from construction to destruction. The system releases it when a process dies, so none is
// left behind. Without a lock (the folder cannot be opened) the holder goes on unlocked; the save
// then reports what is wrong with the folder.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    std::intptr_t m_handle = OpenFile::kNone;
};

}  // namespace tvk
