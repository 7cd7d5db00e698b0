// Commands that throw (memory running out) are reported with their usual warning and leave the
// store, the history and the list as they were.
#include <gtest/gtest.h>

#include <functional>

#include "commands.h"
#include "editor_fixture.h"
#include "messages.h"

namespace tvk::test {
namespace {

class GuardedCommands : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        open_entries({{"zero", kRed}, {"one", kGreen}, {"two", kBlue}});
        click_row(1);
        view.name = u"typed";
        const std::filesystem::path picture = folder / "picture";
        write_picture_file(picture, solid_picture(kScreenWidth, kScreenHeight, 0xFFFFFFFF));
        picture_file = picture;
    }
    std::filesystem::path picture_file;
};

TEST_F(GuardedCommands, AFailureKeepsTheStoreAndTheWindowAndShowsTheCommandsWarning) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        Command command;
        std::string_view warning;
    };
    const std::vector<Case> cases = {
        {"set screen, reading the picture throws",
         [&] {
             images.throw_on_read = true;
             view.answer_file(picture_file);
         },
         Command::set_screen, kBadWidth},
        {"add, the list cannot take the row", [&] { view.inserts_before_failure = 0; },
         Command::add, kTooManyEntries},
        {"insert, the list cannot take the row", [&] { view.inserts_before_failure = 0; },
         Command::insert, kTooManyEntries},
        {"rename, the list cannot take the row back", [&] { view.inserts_before_failure = 0; },
         Command::rename, kTooManyEntries},
        {"move down, the second row fails", [&] { view.inserts_before_failure = 1; },
         Command::move_down, kTooManyEntries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WindowState before = window_state();
        const std::size_t history = editor.history().done_count();
        c.prepare();

        editor.run(c.command);

        EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(c.warning)});
        EXPECT_EQ(names(), before.names);
        EXPECT_EQ(view.rows, before.rows);
        EXPECT_EQ(view.selection, before.selection);
        EXPECT_EQ(view.name, before.name);
        EXPECT_EQ(editor.history().done_count(), history);
        images.throw_on_read = false;
        view.inserts_before_failure = -1;
        view.warnings.clear();
    }
}

TEST_F(GuardedCommands, AnUndoOrRedoThatFailsIsTakenBackAndCanBeTriedAgain) {
    editor.run(Command::delete_entry);
    ASSERT_EQ(names(), (std::vector<std::string>{"zero", "two"}));

    view.inserts_before_failure = 0;  // putting the row back fails
    editor.run(Command::undo);
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kTooManyEntries)});
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "two"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"two"}));

    editor.run(Command::undo);
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "one", "two"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"one", u"two"}));
    EXPECT_EQ(view.selection, 1);

    view.inserts_before_failure = 0;
    editor.run(Command::redo);  // the redo of a delete inserts no row: it succeeds
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "two"}));
}

TEST_F(GuardedCommands, ADroppedPictureThatCannotBeReadWarnsAsSetScreenDoes) {
    const WindowState before = window_state();
    images.throw_on_read = true;

    editor.drop_file(picture_file);

    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kBadWidth)});
    EXPECT_EQ(window_state(), before);
}

}  // namespace
}  // namespace tvk::test
