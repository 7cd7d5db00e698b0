#include <sstream>

#include "cli_fixture.h"
#include "tvk_command.h"

namespace tvk::test {
namespace {

// Every command that writes, run in-process with file operations whose last step, replacing the
// target, fails: the error is reported, and every file is as it was, no temporary left behind.
class SaveFailure : public CliTest {
  protected:
    SaveFailure() {
        m_ops = real_file_ops();
        m_ops.replace = [](const std::filesystem::path&, const std::filesystem::path&) {
            return false;
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
        EXPECT_EQ(err.str(), "tvk: " + at(target) + ": Can't save\n");
        EXPECT_EQ(read("tvk.dat"), archive);
        EXPECT_EQ(listing(), before);
    }
    std::vector<std::string> listing() {
        std::vector<std::string> names;
        for (const auto& file : std::filesystem::recursive_directory_iterator(m_folder)) {
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

    std::filesystem::create_directory(path("dir"));
    write("dir/manifest.txt", "tvk-manifest 1\n../pic.png - - \"x\"\n");
    expect_nothing_written({"pack", at("dir"), archive}, "tvk.dat");
    expect_nothing_written({"unpack", "--force", archive, at("dir")}, "dir/0000.png");
}

}  // namespace
}  // namespace tvk::test
