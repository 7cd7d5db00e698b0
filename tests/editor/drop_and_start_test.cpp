// Files dropped on the window, the archive named at start, and the editor's command line.
#include <gtest/gtest.h>

#include <fstream>

#include "commands.h"
#include "editor_fixture.h"
#include "messages.h"
#include "start_arguments.h"

namespace tvk::test {
namespace {

class DroppedFiles : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        open_entries({{"zero", kRed}, {"one", kGreen}});
    }
    std::filesystem::path picture(int width, int height, std::uint32_t argb) {
        const std::filesystem::path file = folder / "dropped";
        write_picture_file(file, solid_picture(width, height, argb));
        return file;
    }
};

TEST_F(DroppedFiles, APictureBecomesTheSelectedScreenAndCanBeUndone) {
    click_row(1);
    editor.drop_file(picture(kScreenWidth, kScreenHeight, 0xFFFFFFFF));

    EXPECT_EQ(screen_of(editor.store(), 1), solid_grid(kWhite));
    EXPECT_EQ(*view.preview, solid_grid(kWhite));
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(view.choices.size(), 1u);  // the Open of the fixture: a drop asks for no file

    editor.undo();
    EXPECT_EQ(screen_of(editor.store(), 1), solid_grid(kGreen));
}

TEST_F(DroppedFiles, APictureSetScreenWouldRefuseGetsItsMessage) {
    struct Case {
        int width, height;
        std::string_view warning;
    };
    for (const Case& c : {Case{100, kScreenHeight, kBadWidth}, Case{kScreenWidth, 1, kBadHeight}}) {
        click_row(0);
        editor.drop_file(picture(c.width, c.height, 0xFF000000));
        EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(c.warning)});
        EXPECT_EQ(screen_of(editor.store(), 0), solid_grid(kRed));
        view.warnings.clear();
    }
}

TEST_F(DroppedFiles, APictureWithNothingSelectedDoesNothing) {
    const WindowState before = window_state();
    editor.drop_file(picture(kScreenWidth, kScreenHeight, 0xFFFFFFFF));
    EXPECT_EQ(window_state(), before);
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(DroppedFiles, AnyOtherFileIsOpenedAsOpenTvkWouldOpenIt) {
    const std::filesystem::path other = folder / "other.dat";
    write_archive(other, {{"dropped", kBlue}});
    click_row(0);
    editor.drop_file(other);
    EXPECT_EQ(view.rows, std::vector<std::u16string>{u"dropped"});
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_TRUE(view.warnings.empty());

    const std::filesystem::path text = folder / "notes.txt";
    std::ofstream(text) << "not an archive";
    editor.drop_file(text);
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kNotAnArchive)});
    EXPECT_TRUE(view.rows.empty());

    view.warnings.clear();
    editor.drop_file(folder / "missing");
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kCantOpen)});
}

using ArchiveAtStart = EditorTest;

TEST_F(ArchiveAtStart, OpensWithoutAChooserOrShowsOpensWarning) {
    const std::filesystem::path file = folder / "TVK.DAT";
    write_archive(file, {{"zero", kRed}, {"one", kGreen}});
    editor.open_file(file);
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"one"}));
    EXPECT_TRUE(view.choices.empty());
    EXPECT_FALSE(view.buttons_enabled);

    editor.open_file(folder / "missing");
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kCantOpen)});
    EXPECT_TRUE(view.rows.empty());
}

TEST(StartArguments, ReadsTheArchiveTheHelpAndTheVersion) {
    using Action = StartArguments::Action;
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::optional<std::string> archive;
    };
    const std::vector<Case> cases = {
        {{}, Action::open_window, std::nullopt},
        {{"TVK.DAT"}, Action::open_window, "TVK.DAT"},
        {{"--help"}, Action::print_help, std::nullopt},
        {{"-h"}, Action::print_help, std::nullopt},
        {{"TVK.DAT", "--version"}, Action::print_version, std::nullopt},
        {{"--bogus", "--help"}, Action::print_help, std::nullopt},
        {{"--", "--help"}, Action::open_window, "--help"},
        {{"--", "-"}, Action::open_window, "-"},
        {{"-"}, Action::open_window, "-"},
        {{"--bogus"}, Action::refuse, std::nullopt},
        {{"a.dat", "b.dat"}, Action::refuse, std::nullopt},
    };
    for (const Case& c : cases) {
        const StartArguments read = read_start_arguments(c.arguments);
        EXPECT_EQ(read.action, c.action) << testing::PrintToString(c.arguments);
        EXPECT_EQ(read.archive, c.archive) << testing::PrintToString(c.arguments);
        EXPECT_EQ(read.problem.empty(), c.action != Action::refuse);
    }
}

TEST(CommandTable, EveryButtonRunsOneCommandAndEveryCommandHasOneId) {
    int buttons = 0;
    for (const ControlLayout& control : kControls) {
        if (control.kind == ControlKind::button) {
            ++buttons;
            EXPECT_TRUE(command_for_id(control.id).has_value()) << control.text;
        }
    }
    EXPECT_EQ(buttons + 2, static_cast<int>(kCommands.size()));  // undo and redo have no button
    for (const CommandBinding& binding : kCommands) {
        EXPECT_EQ(binding_of(binding.command).id, binding.id);
        EXPECT_FALSE(binding.failure_warning.empty());
    }
    EXPECT_EQ(command_for_id(kNameId), std::nullopt);
    EXPECT_EQ(command_for_id(kListId), std::nullopt);
}

}  // namespace
}  // namespace tvk::test
