#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "cli_fixture.h"
#include "tvk_command.h"
#include "unprivileged.h"

extern char** environ;

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

// Every command that writes, run in-process with file operations whose last step, replacing the
// target, fails: the error is reported with its reason, and every file is as it was, no temporary
// left behind.
class SaveFailure : public CliTest {
  protected:
    SaveFailure() {
        m_ops = real_file_ops();
        m_ops.replace = [](const fs::path&, const fs::path&, bool) {
            return std::make_error_code(std::errc::io_error);
        };
        EntryStore store;
        add_entry(store, "a", block_of(grid_with_colours(3)));
        add_entry(store, "b", ScreenBlock{});
        write("tvk.dat", archive_bytes(store));
        write_picture("pic.png", kScreenWidth, kScreenHeight, source_of(grid_with_colours(4)));
    }

    void expect_nothing_written(const std::vector<std::string>& arguments,
                                const std::string& target) {
        const std::vector<std::string> before = listing();
        const std::string archive = read("tvk.dat");
        std::ostringstream out;
        std::ostringstream err;
        CliContext context{out, err, *m_images, m_ops};
        EXPECT_EQ(run_tvk(arguments, context), 1);
        EXPECT_EQ(err.str(), "tvk: " + at(target) + ": Can't save (Input/output error)\n");
        EXPECT_EQ(read("tvk.dat"), archive);
        EXPECT_EQ(listing(), before);
    }
    std::vector<std::string> listing() {
        std::vector<std::string> names;
        for (const auto& file : fs::recursive_directory_iterator(m_folder)) {
            names.push_back(file.path().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    FileOps m_ops;
};

TEST_F(SaveFailure, EditsLeaveTheArchiveAsItWas) {
    const std::string archive = at("tvk.dat");
    expect_nothing_written({"add", archive, "new"}, "tvk.dat");
    expect_nothing_written({"insert", archive, "0", "new", at("pic.png")}, "tvk.dat");
    expect_nothing_written({"rename", archive, "1", "new"}, "tvk.dat");
    expect_nothing_written({"delete", archive, "0"}, "tvk.dat");
    expect_nothing_written({"move", archive, "0", "1"}, "tvk.dat");
    expect_nothing_written({"import", archive, "0", at("pic.png")}, "tvk.dat");
    expect_nothing_written({"new", "--force", archive}, "tvk.dat");
}

TEST_F(SaveFailure, PicturesAndPackLeaveEverythingAsItWas) {
    const std::string archive = at("tvk.dat");
    write("out.png", "old picture");
    expect_nothing_written({"export", archive, "0", at("out.png")}, "out.png");
    EXPECT_EQ(read("out.png"), "old picture");
    expect_nothing_written({"sheet", archive, at("out.png")}, "out.png");
    EXPECT_EQ(read("out.png"), "old picture");

    fs::create_directory(path("dir"));
    write("dir/manifest.txt", "tvk-manifest 1\n../pic.png - - \"x\"\n");
    expect_nothing_written({"pack", at("dir"), archive}, "tvk.dat");
    expect_nothing_written({"unpack", "--force", archive, at("dir")}, "dir/0000.png");
}

// The built tvk, run by a user whom permission bits bind (nobody, when the tests run as root),
// on files of another user that this one may read but not write.
class Refusal : public SaveFailure {
  protected:
    Refusal() {
        fs::permissions(m_root, fs::perms::owner_all | fs::perms::others_exec);
        fs::permissions(m_folder, fs::perms::all);
        write("err", "");
        fs::permissions(path("err"), fs::perms::all);
    }
    // Runs tvk as the unprivileged user; its exit status and standard error.
    RunResult tvk_unprivileged(const std::vector<std::string>& arguments) {
        std::vector<std::string> words = {TVK_BINARY};
        words.insert(words.end(), arguments.begin(), arguments.end());
        const std::string err = at("err");
        RunResult result;
        result.status = run_unprivileged([&words, &err] {
            std::vector<char*> argv;
            for (std::string& word : words) {
                argv.push_back(word.data());
            }
            argv.push_back(nullptr);
            const int fd = open(err.c_str(), O_WRONLY | O_TRUNC);
            if (fd < 0 || dup2(fd, 2) < 0) {
                return 254;
            }
            execv(TVK_BINARY, argv.data());
            return 254;
        });
        result.err = read("err");
        return result;
    }
    void expect_refused(const std::vector<std::string>& arguments, const std::string& target,
                        const std::string& message) {
        const std::vector<std::string> before = listing();
        const std::string contents = read(target);
        const RunResult run = tvk_unprivileged(arguments);
        EXPECT_EQ(run.status, 1) << arguments[0];
        EXPECT_EQ(run.err, "tvk: " + at(target) + ": " + message + "\n");
        EXPECT_EQ(read(target), contents);
        EXPECT_EQ(listing(), before);
    }
};

TEST_F(Refusal, AFileTheUserMayNotWriteIsNotReplaced) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to make files of another user";
    }
    const std::string archive = at("tvk.dat");
    write("out.png", "old picture");
    fs::create_directory(path("dir"));
    write("dir/manifest.txt", "tvk-manifest 1\n../pic.png - - \"x\"\n");
    const std::string denied = "Can't save (Permission denied)";
    expect_refused({"add", archive, "new"}, "tvk.dat", denied);
    expect_refused({"delete", archive, "0"}, "tvk.dat", denied);
    expect_refused({"export", archive, "0", at("out.png")}, "out.png", denied);
    expect_refused({"sheet", archive, at("out.png")}, "out.png", denied);
    expect_refused({"pack", at("dir"), archive}, "tvk.dat", denied);
    expect_refused({"unpack", "--force", archive, at("dir")}, "dir/0000.png", denied);

    fs::permissions(path("tvk.dat"), fs::perms::owner_read | fs::perms::owner_write);
    expect_refused({"list", archive}, "tvk.dat", "Can't open (Permission denied)");
}

TEST_F(SaveFailure, FilesThatAreNotPlainAreRefusedAtOnce) {
    ASSERT_EQ(mkfifo(at("fifo").c_str(), 0644), 0);
    for (const std::string command : {"list", "info", "verify", "add"}) {
        const std::vector<std::string> arguments =
            command == "add" ? std::vector<std::string>{command, at("fifo"), "x"}
                             : std::vector<std::string>{command, at("fifo")};
        const RunResult run = tvk(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tvk: " + at("fifo") + ": Can't open (Not a regular file)\n") << command;
    }
    const RunResult diff = tvk({"diff", at("fifo"), at("tvk.dat")});
    EXPECT_EQ(diff.status, 2);
    EXPECT_EQ(diff.err, "tvk: " + at("fifo") + ": Can't open (Not a regular file)\n");
    const RunResult folder = tvk({"list", m_folder.string()});
    EXPECT_EQ(folder.err, "tvk: " + m_folder.string() + ": Can't open (Is a directory)\n");
}

TEST_F(SaveFailure, ConcurrentAddsEachKeepTheirEntry) {
    constexpr int kWriters = 20;
    write("tvk.dat", archive_bytes(*std::make_unique<EntryStore>()));
    std::vector<pid_t> children;
    for (int i = 0; i < kWriters; ++i) {
        std::vector<std::string> words = {TVK_BINARY, "add", at("tvk.dat"),
                                          "entry" + std::to_string(i)};
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, TVK_BINARY, nullptr, nullptr, argv.data(), environ), 0);
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const EntryStore store = load(read("tvk.dat"));
    EXPECT_EQ(store.count(), static_cast<std::size_t>(kWriters));
    EXPECT_EQ(listing(), (std::vector<std::string>{at("pic.png"), at("tvk.dat")}));
}

TEST_F(SaveFailure, UnpackIntoAnEarlierLargerUnpackRemovesItsOtherFiles) {
    EntryStore store;
    for (int i = 0; i < 3; ++i) {
        add_entry(store, "e" + std::to_string(i), block_of(grid_with_colours(3 + i)));
    }
    write("three.dat", archive_bytes(store));
    ASSERT_EQ(tvk({"unpack", at("three.dat"), at("dir")}).status, 0);
    write("dir/0002.block", "left from an edit");
    write("dir/notes.txt", "the user's own");
    write("dir/12.png", "not of the pattern");
    ASSERT_EQ(tvk({"unpack", "--force", at("tvk.dat"), at("dir")}).status, 0);
    std::vector<std::string> names;
    for (const auto& file : fs::directory_iterator(path("dir"))) {
        names.push_back(file.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"0000.png", "0001.block", "0001.png", "12.png",
                                               "manifest.txt", "notes.txt"}));
    ASSERT_EQ(tvk({"pack", at("dir"), at("packed.dat")}).status, 0);
    EXPECT_EQ(read("packed.dat"), read("tvk.dat"));
}

}  // namespace
}  // namespace tvk::test
