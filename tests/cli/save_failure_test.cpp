#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "cli_test.h"
#include "unprivileged.h"

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

// Every command that writes, refused the save: its file and every other as they were.
class SaveFailure : public CliTest {
  protected:
    SaveFailure() {
        write_file("a.dat", archive_with("a3 b0"));
        write_file("out.png", png_of(picture_of(grid_with_colours(4))));
        fs::create_directory("d");
        write_file("d/manifest.txt", "tvk-manifest 1\n../out.png - - \"x\"\n");
    }
    // `run` gives the exit status of the command line, or 99 when its message is not `err`.
    void expect_refused(const std::string& reason,
                        const std::function<int(const std::string&, const std::string&)>& run) {
        // clang-format off
        for (const auto& [line, target] : std::vector<std::pair<std::string, std::string>>{
                 {"add a.dat new", "a.dat"}, {"delete a.dat 0", "a.dat"}, {"export a.dat 0 out.png", "out.png"},
                 {"sheet a.dat out.png", "out.png"}, {"pack d a.dat", "a.dat"}, {"unpack --force a.dat d", "d/0000.png"}}) {
            // clang-format on
            SCOPED_TRACE(line);
            const std::string archive = read_file("a.dat");
            const std::string picture = read_file("out.png");
            EXPECT_EQ(run(line, "tvk: " + target + ": " + reason + "\n"), 1);
            EXPECT_EQ(read_file("a.dat"), archive);
            EXPECT_EQ(read_file("out.png"), picture);
            EXPECT_EQ(m_folder.file_names(), words("a.dat d out.png"));
            EXPECT_EQ(names_in("d"), words("manifest.txt"));
        }
    }
};

TEST_F(SaveFailure, AFailedSaveIsReportedAndLosesNothing) {
    FileOps failing = real_file_ops();
    failing.replace = [](const fs::path&, const fs::path&, bool) {
        return std::make_error_code(std::errc::io_error);
    };
    expect_refused("Can't save (Input/output error)",
                   [&](const std::string& line, const std::string& err) {
                       const Row run = tvk(words(line), failing);
                       EXPECT_EQ(run.err, err);
                       return run.status;
                   });
}

// Files of another user that this one may read but not write (nobody's, when the tests run as
// root), in a folder where anyone may make files.
TEST_F(SaveFailure, AFileTheUserMayNotWriteIsNotReplaced) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to make files of another user";
    }
    fs::permissions(".", fs::perms::all);
    const auto unprivileged = [this](const std::string& line, const std::string& err) {
        return run_unprivileged([&] {
            const Row run = tvk(words(line));
            return run.err == err ? run.status : 99;
        });
    };
    expect_refused("Can't save (Permission denied)", unprivileged);
    fs::permissions("a.dat", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(unprivileged("list a.dat", "tvk: a.dat: Can't open (Permission denied)\n"), 1);
}

// Each in a process of its own: the folder's lock keeps every entry. The program itself runs
// here, once: output it cannot write is trouble, 2 for diff.
TEST_F(SaveFailure, ConcurrentAddsEachKeepTheirEntryAndUnwrittenOutputIsTrouble) {
    const std::string tvk = TVK_BINARY;
    ASSERT_EQ(
        std::system(("for i in $(seq 20); do " + tvk + " add a.dat e$i & done; wait").c_str()), 0);
    EXPECT_EQ(load(read_file("a.dat")).count(), 22u);
    EXPECT_EQ(m_folder.file_names(), words("a.dat d out.png"));
    write_file("b.dat", archive_with("a3"));
    // A difference whose lines cannot be written: trouble, not "different".
    EXPECT_EQ(WEXITSTATUS(std::system((tvk + " diff a.dat b.dat >/dev/full 2>err").c_str())), 2);
    EXPECT_EQ(read_file("err"), "tvk: Can't write the output\n");
    EXPECT_EQ(trouble_status(words("list a.dat")), 1);
}

}  // namespace
}  // namespace tvk::test
