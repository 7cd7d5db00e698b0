#include "atomic_file.h"

#include <gtest/gtest.h>

#include <ostream>

#include "temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "unprivileged.h"
#endif

namespace tvk {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::write_file;

const std::string kOld = "the old contents";
const std::string kNew(200000, 'n');  // more than one write buffer

void write_new(std::ostream& stream) {
    stream << kNew;
}

std::error_code failure() {
    return std::make_error_code(std::errc::no_space_on_device);
}

class AtomicFile : public ::testing::Test {
  protected:
    void SetUp() override { write_file(target(), kOld); }
    fs::path target() const { return folder.path() / "TVK.DAT"; }
    // The old file is there, whole, and nothing else is left in the folder.
    void expect_old_file_untouched() const {
        EXPECT_EQ(read_file(target()), kOld);
        EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
    }
    test::TempFolder folder;
};

// Every step in order, with what it was given, then the real step.
TEST_F(AtomicFile, WritesATemporaryBesideTheTargetFlushesItAndReplacesTheTarget) {
    for (const bool durable : {true, false}) {
        std::vector<std::string> steps;
        FileOps ops = real_file_ops();
        ops.durable = durable;
        fs::path temporary;
        ops.check_replaceable = [&](const fs::path& file) {
            steps.push_back("check " + file.filename().string());
            return real_file_ops().check_replaceable(file);
        };
        ops.create_temporary = [&](const fs::path& file, OpenFile& made) {
            steps.push_back("create");
            const std::error_code error = real_file_ops().create_temporary(file, made);
            temporary = made.path;
            return error;
        };
        ops.close = [&](OpenFile& file, bool flush) {
            steps.push_back(flush ? "flush and close" : "close");
            return real_file_ops().close(file, flush);
        };
        ops.replace = [&](const fs::path& from, const fs::path& to, bool flush) {
            steps.push_back(flush ? "replace and flush the folder" : "replace");
            EXPECT_EQ(from, temporary);
            EXPECT_EQ(to, target());
            EXPECT_EQ(read_file(from), kNew);  // complete before it replaces anything
            EXPECT_EQ(read_file(to), kOld);
            return real_file_ops().replace(from, to, flush);
        };
        EXPECT_EQ(save_file_atomically(target(), write_new, ops), std::error_code());
        const std::vector<std::string> expected =
            durable ? std::vector<std::string>{"check TVK.DAT", "create", "flush and close",
                                               "replace and flush the folder"}
                    : std::vector<std::string>{"check TVK.DAT", "create", "close", "replace"};
        EXPECT_EQ(steps, expected);
        EXPECT_EQ(temporary.parent_path(), target().parent_path());
        EXPECT_EQ(read_file(target()), kNew);
        EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
        write_file(target(), kOld);
    }
}

TEST_F(AtomicFile, WritesBackIntoWhatWasWrittenWhenTheWriterSeeks) {
    const auto write_then_fill_in = [](std::ostream& stream) {
        stream << std::string(100000, 'b');
        stream.seekp(0);
        stream << "head";
        stream.seekp(70000);
        stream << "middle";
    };
    ASSERT_EQ(save_file_atomically(target(), write_then_fill_in), std::error_code());
    std::string expected(100000, 'b');
    expected.replace(0, 4, "head");
    expected.replace(70000, 6, "middle");
    EXPECT_EQ(read_file(target()), expected);
}

TEST_F(AtomicFile, CreatesATargetThatDoesNotExist) {
    const auto fresh = folder.path() / "fresh.dat";
    EXPECT_EQ(save_file_atomically(fresh, write_new), std::error_code());
    EXPECT_EQ(read_file(fresh), kNew);
}

TEST_F(AtomicFile, SavesUnderANameNearTheLengthLimit) {
    const auto file = folder.path() / (std::string(240, 'n') + ".dat");
    write_file(file, kOld);
    EXPECT_EQ(save_file_atomically(file, write_new), std::error_code());
    EXPECT_EQ(read_file(file), kNew);
    EXPECT_EQ(folder.file_names().size(), 2u);
}

// A failure at any step is reported with its reason; the old file stays and no temporary is left.
TEST_F(AtomicFile, ReportsAFailedStepAndLeavesTheOldFile) {
    const std::vector<std::pair<std::string, std::function<void(FileOps&)>>> cases = {
        {"refused",
         [](FileOps& ops) { ops.check_replaceable = [](const fs::path&) { return failure(); }; }},
        {"no temporary",
         [](FileOps& ops) {
             ops.create_temporary = [](const fs::path&, OpenFile&) { return failure(); };
         }},
        {"first write",
         [](FileOps& ops) {
             ops.write = [](OpenFile&, std::uint64_t, std::string_view) { return failure(); };
         }},
        {"a later write",
         [](FileOps& ops) {
             ops.write = [](OpenFile& file, std::uint64_t offset, std::string_view bytes) {
                 return offset > 0 ? failure() : real_file_ops().write(file, offset, bytes);
             };
         }},
        {"flush or close",
         [](FileOps& ops) {
             ops.close = [](OpenFile& file, bool durable) {
                 real_file_ops().close(file, durable);
                 return failure();
             };
         }},
        {"replace",
         [](FileOps& ops) {
             ops.replace = [](const fs::path&, const fs::path&, bool) { return failure(); };
         }},
    };
    for (const auto& [name, inject] : cases) {
        FileOps ops = real_file_ops();
        inject(ops);
        EXPECT_EQ(save_file_atomically(target(), write_new, ops), failure()) << name;
        expect_old_file_untouched();
    }
}

TEST_F(AtomicFile, ReportsAWriterThatThrowsAndLeavesTheOldFile) {
    const auto throwing = [](std::ostream& stream) {
        stream << "part";
        throw std::bad_alloc();
    };
    EXPECT_THROW(save_file_atomically(target(), throwing), std::bad_alloc);
    expect_old_file_untouched();
}

TEST_F(AtomicFile, RefusesWhatIsNoFileToReplace) {
    EXPECT_EQ(save_file_atomically(folder.path() / "missing" / "TVK.DAT", write_new),
              std::errc::no_such_file_or_directory);
    fs::create_directory(folder.path() / "sub");
    EXPECT_EQ(save_file_atomically(folder.path() / "sub", write_new), std::errc::is_a_directory);
    EXPECT_TRUE(fs::is_empty(folder.path() / "sub"));
    fs::remove(folder.path() / "sub");
    expect_old_file_untouched();
}

// What tvk prints after a failed open or save, the same words on every platform.
TEST(FileReasons, ReadTheSameOnEveryPlatform) {
    const std::vector<std::pair<std::error_code, std::string>> cases = {
        {std::make_error_code(std::errc::permission_denied), "Permission denied"},
        {std::make_error_code(std::errc::no_such_file_or_directory), "No such file or directory"},
        {std::make_error_code(std::errc::is_a_directory), "Is a directory"},
        {std::make_error_code(std::errc::no_space_on_device), "No space left on device"},
        {make_error_code(FileError::not_a_regular_file), "Not a regular file"},
        {make_error_code(FileError::not_encoded), "The picture could not be encoded"},
    };
    for (const auto& [error, text] : cases) {
        EXPECT_EQ(reason_text(error), text);
    }
}

#ifdef _WIN32
// A read-only file is refused though a rename could replace it; writable again, it is replaced.
TEST_F(AtomicFile, RefusesAReadOnlyFile) {
    fs::permissions(target(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(save_file_atomically(target(), write_new), std::errc::permission_denied);
    expect_old_file_untouched();
    fs::permissions(target(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(save_file_atomically(target(), write_new), std::error_code());
    EXPECT_EQ(read_file(target()), kNew);
}
#endif

#ifndef _WIN32
TEST_F(AtomicFile, RefusesAFifoAtOnce) {
    const fs::path fifo = folder.path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_EQ(save_file_atomically(fifo, write_new), FileError::not_a_regular_file);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(AtomicFile, SavesThroughSymbolicLinksAndKeepsThem) {
    test::TempFolder elsewhere;
    const fs::path real = elsewhere.path() / "real.dat";
    write_file(real, kOld);
    // An absolute link to a relative link in another folder.
    fs::create_symlink("real.dat", elsewhere.path() / "near.dat");
    fs::create_symlink(elsewhere.path() / "near.dat", folder.path() / "link.dat");

    EXPECT_EQ(save_file_atomically(folder.path() / "link.dat", write_new), std::error_code());
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.dat"));
    EXPECT_TRUE(fs::is_symlink(elsewhere.path() / "near.dat"));
    EXPECT_EQ(read_file(real), kNew);
    EXPECT_EQ(folder.file_names(), (std::vector<std::string>{"TVK.DAT", "link.dat"}));
    EXPECT_EQ(elsewhere.file_names(), (std::vector<std::string>{"near.dat", "real.dat"}));

    // A link whose file does not exist yet gets it.
    fs::create_symlink("made.dat", folder.path() / "dangling.dat");
    EXPECT_EQ(save_file_atomically(folder.path() / "dangling.dat", write_new), std::error_code());
    EXPECT_EQ(read_file(folder.path() / "made.dat"), kNew);
    EXPECT_TRUE(fs::is_symlink(folder.path() / "dangling.dat"));
}

mode_t mode_of(const fs::path& file) {
    struct stat status {};
    stat(file.c_str(), &status);
    return status.st_mode & 07777;
}

TEST_F(AtomicFile, KeepsThePermissionBitsOwnerAndGroup) {
    for (const mode_t mode : {0600, 0640, 0604, 0755, 02755}) {
        ASSERT_EQ(chmod(target().c_str(), mode), 0);
        EXPECT_EQ(save_file_atomically(target(), write_new), std::error_code());
        EXPECT_EQ(mode_of(target()), mode) << std::oct << mode;
    }
    // A file owned by another user (only root can give one away) stays theirs.
    if (geteuid() == 0) {
        ASSERT_EQ(chown(target().c_str(), test::unprivileged_user(), test::unprivileged_group()),
                  0);
        EXPECT_EQ(save_file_atomically(target(), write_new), std::error_code());
        struct stat status {};
        stat(target().c_str(), &status);
        EXPECT_EQ(status.st_uid, test::unprivileged_user());
        EXPECT_EQ(status.st_gid, test::unprivileged_group());
    }
}

TEST_F(AtomicFile, GivesANewFileTheUsualPermissions) {
    const mode_t mask = umask(0);
    umask(mask);
    const fs::path fresh = folder.path() / "fresh.dat";
    EXPECT_EQ(save_file_atomically(fresh, write_new), std::error_code());
    EXPECT_EQ(mode_of(fresh), 0666 & ~mask);
}

// Run by a user whom permission bits bind: a file they may not write is refused before anything
// is written, even where the folder would let a rename replace it.
TEST_F(AtomicFile, RefusesAFileTheUserMayNotWrite) {
    ASSERT_EQ(chmod(folder.path().c_str(), 0777), 0);
    const fs::path own_read_only = folder.path() / "mine.dat";
    write_file(own_read_only, kOld);
    ASSERT_EQ(chown(own_read_only.c_str(), test::unprivileged_user(), test::unprivileged_group()),
              0);
    ASSERT_EQ(chmod(own_read_only.c_str(), 0444), 0);
    for (const fs::path& file : {own_read_only, target()}) {
        if (geteuid() != 0 && file == target()) {
            continue;  // without root, no file of another user can be made here
        }
        const int result = test::run_unprivileged(
            [&file] { return save_file_atomically(file, write_new).value(); });
        EXPECT_EQ(result, EACCES) << file;
        EXPECT_EQ(read_file(file), kOld);
    }
    EXPECT_EQ(folder.file_names(), (std::vector<std::string>{"TVK.DAT", "mine.dat"}));
}
#endif

}  // namespace
}  // namespace tvk
