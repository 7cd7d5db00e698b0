// Rename, Add, Insert, Delete, Move Up, Move Down and the keys of the entry list, seen through the
// editor's view.
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "messages.h"
#include "name_text.h"

namespace tvk::test {
namespace {

using EditingCommands = EditorTest;

const std::vector<std::string> kHashCollisionOnly{std::string(kHashCollision)};

class EditingWithThreeEntries : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        open_entries({{"zero", kRed}, {"one", kGreen}, {"two", kBlue}});
    }
};

TEST_F(EditingCommands, AddOnAnEmptyListCreatesSelectsAndShowsABlackEntry) {
    add(u"new");

    EXPECT_EQ(names(), std::vector<std::string>{"new"});
    EXPECT_EQ(view.rows, std::vector<std::u16string>{u"new"});
    EXPECT_EQ(view.selection, 0);
    EXPECT_TRUE(view.buttons_enabled);
    ASSERT_NE(view.preview, nullptr);
    EXPECT_EQ(*view.preview, solid_grid(0));
    EXPECT_EQ(view.name, u"new");
    EXPECT_EQ(editor.store().screen_block(0), ScreenBlock{});
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(EditingCommands, AnEmptyNameCanBeAddedOnce) {
    add(u"");
    ASSERT_EQ(names(), std::vector<std::string>{""});
    const WindowState before = window_state();

    add(u"");

    EXPECT_EQ(view.warnings, kHashCollisionOnly);
    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingCommands, NamesWithTheSameHashAreRefused) {
    add(u"b");
    view.name = u" !";
    const WindowState before = window_state();

    editor.add();

    EXPECT_EQ(view.warnings, kHashCollisionOnly);
    EXPECT_EQ(window_state(), before);  // the typed text stays for the user to change
}

TEST_F(EditingCommands, ACharacterAboveFFEndsTheStoredNameAndTheRowShowsWhatIsStored) {
    add(u"ab\u0100cd");

    EXPECT_EQ(names(), std::vector<std::string>{"ab"});
    EXPECT_EQ(editor.store().name_hash(0), build_name_record(u"ab").hash);
    EXPECT_EQ(view.rows, std::vector<std::u16string>{u"ab"});
    EXPECT_EQ(view.name, u"ab");

    add(u"ab");
    EXPECT_EQ(view.warnings, kHashCollisionOnly);
}

TEST_F(EditingCommands, ALatin1CharacterIsStoredAsOneByte) {
    add(u"\u00E9t\u00E9");

    EXPECT_EQ(names(), std::vector<std::string>{"\xE9t\xE9"});
    EXPECT_EQ(view.rows, std::vector<std::u16string>{u"\u00E9t\u00E9"});
}

TEST_F(EditingCommands, AddAndInsertStopAt1018Entries) {
    // A file that announces 1017 entries and holds none: they read as blank entries.
    const std::filesystem::path file = folder / "TVK.DAT";
    write_file(file, header_only_archive(kMaxEntries - 1));
    open(file);
    add(u"the last");
    ASSERT_TRUE(view.warnings.empty());
    ASSERT_EQ(editor.store().count(), kMaxEntries);
    click_row(5);
    view.name = u"one more";
    const WindowState before = window_state();

    editor.add();
    editor.insert();

    EXPECT_EQ(view.warnings, std::vector<std::string>(2, std::string(kTooManyEntries)));
    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, AddAppendsAfterTheLastEntryWhateverIsSelected) {
    click_row(0);

    add(u"three");

    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "one", "two", "three"}));
    EXPECT_EQ(view.rows.back(), u"three");
    EXPECT_EQ(view.selection, 3);
    EXPECT_EQ(*view.preview, solid_grid(0));
}

TEST_F(EditingWithThreeEntries, InsertPutsTheNewEntryAtTheSelectedIndex) {
    click_row(2);

    view.name = u"new";
    editor.insert();

    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "one", "new", "two"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"one", u"new", u"two"}));
    EXPECT_EQ(view.selection, 2);
    EXPECT_TRUE(view.buttons_enabled);
    EXPECT_EQ(*view.preview, solid_grid(0));
    EXPECT_EQ(screen_of(editor.store(), 3), solid_grid(kBlue));
}

TEST_F(EditingWithThreeEntries, InsertWithoutASelectionDoesNothing) {
    view.name = u"new";
    const WindowState before = window_state();

    editor.insert();

    EXPECT_EQ(window_state(), before);
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(EditingWithThreeEntries, RefusedInsertChangesNothing) {
    click_row(1);
    view.name = u"two";
    const WindowState before = window_state();

    editor.insert();

    EXPECT_EQ(view.warnings, kHashCollisionOnly);
    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, RenameStoresTheNameAndKeepsTheScreenAndTheNameBox) {
    click_row(1);
    const int drawn = view.previews_drawn;
    view.name = u"renamed\u0100tail";

    editor.rename();

    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "renamed", "two"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"renamed", u"two"}));
    EXPECT_EQ(view.selection, 1);
    EXPECT_EQ(view.name, u"renamed\u0100tail");
    EXPECT_EQ(view.previews_drawn, drawn);
    EXPECT_EQ(screen_of(editor.store(), 1), solid_grid(kGreen));
    const NameBuffer& record = editor.store().name_buffer(1);
    EXPECT_EQ(record[kDataSizeOffset] | record[kDataSizeOffset + 1] << 8, 10344);
}

TEST_F(EditingWithThreeEntries, RenameToItsOwnNameSucceeds) {
    click_row(2);

    editor.rename();

    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "one", "two"}));
    EXPECT_EQ(view.selection, 2);
}

TEST_F(EditingWithThreeEntries, RenameToAnotherEntrysHashIsRefused) {
    click_row(0);
    view.name = u"one";
    const WindowState before = window_state();

    editor.rename();

    EXPECT_EQ(view.warnings, kHashCollisionOnly);
    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, RenameWithoutASelectionDoesNothing) {
    view.name = u"renamed";
    const WindowState before = window_state();

    editor.rename();

    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, DeleteSelectsAndShowsTheEntryThatTakesThePlace) {
    click_row(1);

    editor.delete_entry();

    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "two"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"two"}));
    EXPECT_EQ(view.selection, 1);
    EXPECT_EQ(*view.preview, solid_grid(kBlue));
    EXPECT_EQ(view.name, u"two");
    EXPECT_TRUE(view.buttons_enabled);
}

TEST_F(EditingWithThreeEntries, DeletingTheLastRowSelectsTheNewLastRow) {
    click_row(2);

    editor.delete_entry();

    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"one"}));
    EXPECT_EQ(view.selection, 1);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
    EXPECT_EQ(view.name, u"one");
}

TEST_F(EditingWithThreeEntries, DeleteWithoutASelectionDoesNothing) {
    const WindowState before = window_state();

    editor.delete_entry();

    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingCommands, DeletingTheOnlyEntryLeavesAnEmptyListAndThePreview) {
    add(u"only");
    view.name = u"typed";
    const int drawn = view.previews_drawn;

    editor.delete_entry();

    EXPECT_EQ(editor.store().count(), 0u);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.selection, -1);
    EXPECT_FALSE(view.buttons_enabled);
    EXPECT_EQ(view.previews_drawn, drawn);
    EXPECT_EQ(view.name, u"typed");
}

TEST_F(EditingWithThreeEntries, MoveUpAndDownCarryNameAndScreenTogether) {
    click_row(1);

    editor.move_up();

    EXPECT_EQ(names(), (std::vector<std::string>{"one", "zero", "two"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"one", u"zero", u"two"}));
    EXPECT_EQ(view.selection, 0);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
    EXPECT_EQ(view.name, u"one");
    EXPECT_EQ(screen_of(editor.store(), 1), solid_grid(kRed));

    editor.move_down();
    editor.move_down();

    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "two", "one"}));
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"two", u"one"}));
    EXPECT_EQ(view.selection, 2);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
    EXPECT_EQ(screen_of(editor.store(), 2), solid_grid(kGreen));
}

TEST_F(EditingWithThreeEntries, MovesPastTheEndsDoNothing) {
    click_row(0);
    WindowState before = window_state();
    editor.move_up();
    EXPECT_EQ(window_state(), before);

    click_row(2);
    before = window_state();
    editor.move_down();
    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, UpAndDownWithoutShiftAreLeftToTheList) {
    click_row(1);
    const WindowState before = window_state();

    EXPECT_EQ(editor.list_key(ListKey::up, false), KeyAnswer::list_handles_key);
    EXPECT_EQ(editor.list_key(ListKey::down, false), KeyAnswer::list_handles_key);
    EXPECT_EQ(editor.list_key(ListKey::other, false), KeyAnswer::list_handles_key);
    EXPECT_EQ(editor.list_key(ListKey::other, true), KeyAnswer::list_handles_key);

    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, ShiftUpAndShiftDownMoveTheEntry) {
    click_row(1);

    EXPECT_EQ(editor.list_key(ListKey::up, true), KeyAnswer::handled);
    EXPECT_EQ(names(), (std::vector<std::string>{"one", "zero", "two"}));
    EXPECT_EQ(view.selection, 0);

    EXPECT_EQ(editor.list_key(ListKey::down, true), KeyAnswer::handled);
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "one", "two"}));
    EXPECT_EQ(view.selection, 1);
}

TEST_F(EditingWithThreeEntries, ShiftUpOnTheFirstRowAndShiftDownOnTheLastChangeNothing) {
    click_row(0);
    WindowState before = window_state();
    EXPECT_EQ(editor.list_key(ListKey::up, true), KeyAnswer::handled);
    EXPECT_EQ(window_state(), before);

    click_row(2);
    before = window_state();
    EXPECT_EQ(editor.list_key(ListKey::down, true), KeyAnswer::handled);
    EXPECT_EQ(window_state(), before);
}

TEST_F(EditingWithThreeEntries, TheInsertKeyInsertsAtTheSelectionAndLeavesTheKeyToTheList) {
    view.name = u"new";
    const WindowState before = window_state();
    EXPECT_EQ(editor.list_key(ListKey::insert, false), KeyAnswer::list_handles_key);
    EXPECT_EQ(window_state(), before);

    click_row(1);
    view.name = u"new";
    EXPECT_EQ(editor.list_key(ListKey::insert, true), KeyAnswer::list_handles_key);
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "new", "one", "two"}));
    EXPECT_EQ(view.selection, 1);
}

TEST_F(EditingWithThreeEntries, TheDeleteKeyDeletesTheSelectedEntry) {
    const WindowState before = window_state();
    EXPECT_EQ(editor.list_key(ListKey::del, false), KeyAnswer::handled);
    EXPECT_EQ(window_state(), before);

    click_row(0);
    EXPECT_EQ(editor.list_key(ListKey::del, false), KeyAnswer::handled);
    EXPECT_EQ(names(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(view.selection, 0);
    EXPECT_EQ(*view.preview, solid_grid(kGreen));
}

}  // namespace
}  // namespace tvk::test
