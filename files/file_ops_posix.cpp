#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

#include "file_ops.h"

namespace tvk {
namespace {

constexpr int kTemporaryAttempts = 100;
// Newly made files get what the umask leaves of this, as with any other program.
constexpr mode_t kNewFileMode = 0666;

std::error_code last_error() {
    return {errno, std::generic_category()};
}

int descriptor(const OpenFile& file) {
    return static_cast<int>(file.handle);
}

// The reason to refuse a file of this type; none for a regular file.
std::error_code type_error(mode_t mode) {
    if (S_ISREG(mode)) {
        return {};
    }
    return S_ISDIR(mode) ? std::make_error_code(std::errc::is_a_directory)
                         : make_error_code(FileError::not_a_regular_file);
}

// Opens `path` with `flags` and checks that it is a regular file; -1 with the reason otherwise.
// The type is checked before opening, so that a FIFO is refused as such, and the open itself never
// blocks, so one put in its place between the two is not waited on either.
int open_regular(const std::filesystem::path& path, int flags, std::error_code& error) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && (error = type_error(status.st_mode))) {
        return -1;
    }
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = last_error();
        return -1;
    }
    if (::fstat(fd, &status) != 0) {
        error = last_error();
    } else {
        error = type_error(status.st_mode);
    }
    if (error) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The folder of `file`, "." for a bare name.
std::filesystem::path folder_of(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

// A short name that no other file of the folder is likely to have: ".tvk" and 8 random letters.
std::string temporary_name(std::mt19937& random) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".tvk";
    for (int i = 0; i < 8; ++i) {
        name += kLetters[random() % (sizeof(kLetters) - 1)];
    }
    return name + ".tmp";
}

std::error_code flush_path(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return last_error();
    }
    std::error_code error;
    if (::fsync(fd) != 0) {
        error = last_error();
    }
    ::close(fd);
    return error;
}

std::error_code check_replaceable(const std::filesystem::path& file) {
    // Opening for writing, without truncating, asks the system itself: permission bits, access
    // lists, a read-only file system and immutable files all count.
    std::error_code error;
    const int fd = open_regular(file, O_WRONLY, error);
    if (fd >= 0) {
        ::close(fd);
    }
    return error;
}

std::error_code create_temporary(const std::filesystem::path& file, OpenFile& temporary) {
    struct stat old {};
    const bool replaces = ::stat(file.c_str(), &old) == 0;
    // Seeded once a thread: a program writing many files would otherwise seed for each one.
    thread_local std::mt19937 random{std::random_device{}()};
    int fd = -1;
    std::filesystem::path path;
    for (int attempt = 0; fd < 0 && attempt < kTemporaryAttempts; ++attempt) {
        path = folder_of(file) / temporary_name(random);
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, kNewFileMode);
        if (fd < 0 && errno != EEXIST) {
            return last_error();
        }
    }
    if (fd < 0) {
        return std::make_error_code(std::errc::file_exists);
    }
    if (replaces) {
        // Owner and group only where this process may set them; the group alone is often allowed
        // when the owner is not. The bits come last, as a change of owner clears set-id bits.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] const int group_only =
                ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            const std::error_code error = last_error();
            ::close(fd);
            ::unlink(path.c_str());
            return error;
        }
    }
    temporary.path = path;
    temporary.handle = fd;
    return {};
}

std::error_code create_in_place(const std::filesystem::path& file, OpenFile& opened) {
    std::error_code error;
    int fd = open_regular(file, O_WRONLY, error);
    if (error == std::errc::no_such_file_or_directory) {
        fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, kNewFileMode);
        error = fd < 0 ? last_error() : std::error_code();
    }
    if (!error) {
        opened.path = file;
        opened.handle = fd;
    }
    return error;
}

// Starts the whole megabytes of a file written from `from` to `to` on their way to disk without
// waiting for them, so that the flush at the end of a large file waits for little more than its
// last piece, and the disk works while the rest is still being made.
void start_writeback(const OpenFile& file, std::uint64_t from, std::uint64_t to) {
#ifdef SYNC_FILE_RANGE_WRITE
    constexpr std::uint64_t kStep = 1 << 20;
    const std::uint64_t first = from / kStep * kStep;
    const std::uint64_t end = to / kStep * kStep;
    if (end > first) {
        ::sync_file_range(descriptor(file), static_cast<off_t>(first),
                          static_cast<off_t>(end - first), SYNC_FILE_RANGE_WRITE);
    }
#else
    (void)file, (void)from, (void)to;
#endif
}

std::error_code write_all(OpenFile& file, std::uint64_t offset, std::string_view bytes) {
    const std::uint64_t start = offset;
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(descriptor(file), bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return last_error();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
    start_writeback(file, start, offset);
    return {};
}

std::error_code cut(OpenFile& file, std::uint64_t size) {
    for (;;) {
        if (::ftruncate(descriptor(file), static_cast<off_t>(size)) == 0) {
            return {};
        }
        if (errno != EINTR) {
            return last_error();
        }
    }
}

std::error_code close_written(OpenFile& file, bool durable) {
    std::error_code error;
    if (durable && ::fsync(descriptor(file)) != 0) {
        error = last_error();
    }
    // A failed close may be the first report of a failed write (network file systems).
    if (::close(descriptor(file)) != 0 && !error) {
        error = last_error();
    }
    file.handle = OpenFile::kNone;
    return error;
}

std::error_code replace(const std::filesystem::path& from, const std::filesystem::path& to,
                        bool durable) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return last_error();
    }
    return durable ? flush_path(folder_of(to)) : std::error_code();
}

}  // namespace

const FileOps& real_file_ops() {
    static const FileOps ops{check_replaceable, create_temporary, create_in_place, write_all, cut,
                             close_written,     replace};
    return ops;
}

std::error_code open_for_reading(const std::filesystem::path& path, OpenFile& file) {
    std::error_code error;
    const int fd = open_regular(path, O_RDONLY, error);
    if (fd < 0) {
        return error;
    }
    file.path = path;
    file.handle = fd;
    return {};
}

std::error_code read_at(const OpenFile& file, std::uint64_t offset, char* bytes, std::size_t size,
                        std::size_t& count) {
    for (;;) {
        const ssize_t read = ::pread(descriptor(file), bytes, size, static_cast<off_t>(offset));
        if (read >= 0) {
            count = static_cast<std::size_t>(read);
            return {};
        }
        if (errno != EINTR) {
            count = 0;
            return last_error();
        }
    }
}

void close_file(OpenFile& file) {
    if (file.handle != OpenFile::kNone) {
        ::close(descriptor(file));
        file.handle = OpenFile::kNone;
    }
}

std::error_code flush_folder(const std::filesystem::path& folder) {
    // syncfs flushes every file of the file system at once, far cheaper than one fsync per file.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return last_error();
    }
    std::error_code error;
    if (::syncfs(fd) != 0 || ::fsync(fd) != 0) {
        error = last_error();
    }
    ::close(fd);
    return error;
}

FolderLock::FolderLock(const std::filesystem::path& folder) {
    const std::filesystem::path path = folder.empty() ? std::filesystem::path(".") : folder;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return;
        }
    }
    m_handle = fd;
}

FolderLock::~FolderLock() {
    if (m_handle != OpenFile::kNone) {
        ::close(static_cast<int>(m_handle));  // closing releases the lock
    }
}

}  // namespace tvk
