// windows.h comes first: the other Windows headers depend on it.
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>

#include "file_ops.h"

namespace tvk {
namespace {

constexpr int kTemporaryAttempts = 100;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// How long a lock is waited for in steps while another process holds it.
constexpr DWORD kLockRetryMilliseconds = 50;

// The last error as the portable code where one fits, so that messages read as on other systems.
std::error_code last_error() {
    const DWORD error = GetLastError();
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return std::make_error_code(std::errc::no_such_file_or_directory);
        case ERROR_ACCESS_DENIED:
        case ERROR_LOCK_VIOLATION:
            return std::make_error_code(std::errc::permission_denied);
        case ERROR_SHARING_VIOLATION:
            return std::make_error_code(std::errc::device_or_resource_busy);
        case ERROR_WRITE_PROTECT:
            return std::make_error_code(std::errc::read_only_file_system);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::make_error_code(std::errc::no_space_on_device);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::make_error_code(std::errc::file_exists);
        case ERROR_FILENAME_EXCED_RANGE:
            return std::make_error_code(std::errc::filename_too_long);
        case ERROR_INVALID_NAME:
            return std::make_error_code(std::errc::invalid_argument);
        case ERROR_DIRECTORY:
            return std::make_error_code(std::errc::not_a_directory);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return std::make_error_code(std::errc::not_enough_memory);
        default:
            return {static_cast<int>(error), std::system_category()};
    }
}

HANDLE handle_of(const OpenFile& file) {
    return reinterpret_cast<HANDLE>(file.handle);
}

std::intptr_t stored(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? OpenFile::kNone
                                          : reinterpret_cast<std::intptr_t>(handle);
}

std::filesystem::path folder_of(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

// Opens `path` with sharing allowed and checks that it is a file on a disk: a folder cannot be
// opened without backup semantics, and pipes, consoles and devices are refused by their type.
HANDLE open_regular(const std::filesystem::path& path, DWORD access, std::error_code& error) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = last_error();
        return handle;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        error = make_error_code(FileError::not_a_regular_file);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

std::wstring temporary_name(std::mt19937& random) {
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring name = L".tvk";
    for (int i = 0; i < 8; ++i) {
        name += kLetters[random() % (sizeof(kLetters) / sizeof(kLetters[0]) - 1)];
    }
    return name + L".tmp";
}

std::error_code check_replaceable(const std::filesystem::path& file) {
    // A read-only file would be replaced by a rename all the same; opening it for writing is
    // refused, and that is what saving over it must do.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        return std::make_error_code(std::errc::permission_denied);
    }
    std::error_code error;
    const HANDLE handle = open_regular(file, GENERIC_WRITE, error);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
    return error;
}

std::error_code create_temporary(const std::filesystem::path& file, OpenFile& temporary) {
    // Attributes and security of a replaced file are kept by ReplaceFileW itself.
    // Seeded once a thread: a program writing many files would otherwise seed for each one.
    thread_local std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::filesystem::path path = folder_of(file) / temporary_name(random);
        const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            temporary.path = path;
            temporary.handle = stored(handle);
            return {};
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return last_error();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code create_in_place(const std::filesystem::path& file, OpenFile& opened) {
    std::error_code error;
    HANDLE handle = open_regular(file, GENERIC_WRITE, error);
    if (error == std::errc::no_such_file_or_directory) {
        handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        error = handle == INVALID_HANDLE_VALUE ? last_error() : std::error_code();
    }
    if (!error) {
        opened.path = file;
        opened.handle = stored(handle);
    }
    return error;
}

std::error_code write_all(OpenFile& file, std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        where.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle_of(file), bytes.data(), chunk, &written, &where)) {
            return last_error();
        }
        bytes.remove_prefix(written);
        offset += written;
    }
    return {};
}

std::error_code cut(OpenFile& file, std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFileInformationByHandle(handle_of(file), FileEndOfFileInfo, &end, sizeof end)) {
        return last_error();
    }
    return {};
}

// Windows has no flush of a whole folder (see flush_folder), so every file is flushed on its own,
// whether or not the caller flushes later.
std::error_code close_written(OpenFile& file, bool) {
    std::error_code error;
    if (!FlushFileBuffers(handle_of(file))) {
        error = last_error();
    }
    if (!CloseHandle(handle_of(file)) && !error) {
        error = last_error();
    }
    file.handle = OpenFile::kNone;
    return error;
}

std::error_code replace(const std::filesystem::path& from, const std::filesystem::path& to, bool) {
    // ReplaceFileW keeps the replaced file's attributes, owner and access list; a new file is
    // moved in place, written through to the disk.
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // Full paths: some implementations of ReplaceFileW do not resolve relative ones.
        std::error_code ignored;
        const std::filesystem::path replaced = std::filesystem::absolute(to, ignored);
        const std::filesystem::path replacement = std::filesystem::absolute(from, ignored);
        if (ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr,
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            return {};
        }
        // Some file systems cannot replace; a plain move still replaces in one step.
        if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
            GetLastError() != ERROR_INVALID_PARAMETER) {
            return last_error();
        }
    }
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!MoveFileExW(from.c_str(), to.c_str(), flags)) {
        return last_error();
    }
    return {};
}

}  // namespace

const FileOps& real_file_ops() {
    static const FileOps ops{check_replaceable, create_temporary, create_in_place, write_all,
                             cut,               close_written,    replace};
    return ops;
}

std::error_code open_for_reading(const std::filesystem::path& path, OpenFile& file) {
    std::error_code error;
    const HANDLE handle = open_regular(path, GENERIC_READ, error);
    if (handle == INVALID_HANDLE_VALUE) {
        return error;
    }
    file.path = path;
    file.handle = stored(handle);
    return {};
}

std::error_code read_at(const OpenFile& file, std::uint64_t offset, char* bytes, std::size_t size,
                        std::size_t& count) {
    // On a handle opened for synchronous use, the offset in OVERLAPPED only says where to read.
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD read = 0;
    count = 0;
    if (!ReadFile(handle_of(file), bytes, chunk, &read, &where)) {
        return GetLastError() == ERROR_HANDLE_EOF ? std::error_code() : last_error();
    }
    count = read;
    return {};
}

void close_file(OpenFile& file) {
    if (file.handle != OpenFile::kNone) {
        CloseHandle(handle_of(file));
        file.handle = OpenFile::kNone;
    }
}

std::error_code flush_folder(const std::filesystem::path&) {
    // Every file was flushed when it was closed: Windows offers no flush of a whole folder.
    return {};
}

FolderLock::FolderLock(const std::filesystem::path& folder) {
    // A lock file opened without sharing, deleted when its last handle closes, so a process that
    // dies leaves nothing behind. Another holder makes the open fail with a sharing violation (or,
    // while the file is being deleted, access denied); both are waited out.
    const std::filesystem::path path =
        (folder.empty() ? std::filesystem::path(".") : folder) / L".tvk.lock";
    for (int denied = 0;;) {
        const HANDLE handle =
            CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = stored(handle);
            return;
        }
        const DWORD error = GetLastError();
        // Access denied that lasts is a folder this user may not write: go on unlocked.
        constexpr int kDeniedRetries = 100;
        if (error != ERROR_SHARING_VIOLATION &&
            (error != ERROR_ACCESS_DENIED || ++denied > kDeniedRetries)) {
            return;
        }
        Sleep(kLockRetryMilliseconds);
    }
}

FolderLock::~FolderLock() {
    if (m_handle != OpenFile::kNone) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

}  // namespace tvk
