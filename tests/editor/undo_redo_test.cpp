// Undo and redo of every edit, seen through the editor's view: the store comes back byte for byte,
// and the list, the selection, the name box and the preview come back with it.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "editor_fixture.h"
#include "messages.h"

namespace tvk::test {
namespace {

// Everything an undo must bring back: the window as the user sees it, and every stored byte that
// a save writes.
struct Snapshot {
    std::vector<std::u16string> rows;
    int selection;
    std::u16string name;
    PixelGrid preview;
    bool buttons_enabled;
    std::vector<std::string> names;
    std::vector<PixelGrid> screens;
    bool operator==(const Snapshot&) const = default;
};

class UndoRedo : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        open_entries({{"zero", kRed}, {"one", kGreen}, {"two", kBlue}});
        click_row(1);
        view.name = u"typed";
    }

    Snapshot snapshot() const {
        std::vector<PixelGrid> screens;
        for (std::size_t i = 0; i < editor.store().count(); ++i) {
            screens.push_back(screen_of(editor.store(), i));
        }
        return {view.rows,
                view.selection,
                view.name,
                view.preview ? *view.preview : PixelGrid{},
                view.buttons_enabled,
                names(),
                screens};
    }

    // The stored names as the list shows them, one byte to one character.
    std::vector<std::u16string> rows_of_store() const {
        std::vector<std::u16string> rows;
        for (const std::string& name : names()) {
            std::u16string row;
            for (const char c : name) {
                row.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
            }
            rows.push_back(row);
        }
        return rows;
    }

    // The bytes of the archive as Save TVK would write it now.
    std::string saved_bytes(const char* name) {
        const std::filesystem::path file = folder / name;
        view.answer_file(file);
        editor.save_archive();
        return read_file(file);
    }

    std::filesystem::path picture_file(const Picture& picture, const char* name) {
        const std::filesystem::path file = folder / name;
        write_picture_file(file, picture);
        return file;
    }

    void set_screen(const std::filesystem::path& file) {
        view.answer_file(file);
        editor.set_screen();
        view.file_answers.clear();  // with nothing selected, no chooser took the answer
    }
};

TEST_F(UndoRedo, EachEditIsUndoneAndRedoneWithItsWindow) {
    const auto blue = picture_file(solid_picture(kScreenWidth, kScreenHeight, 0xFF0000FF), "blue");
    struct Case {
        const char* what;
        std::function<void()> edit;
    };
    const std::vector<Case> cases = {
        {"rename", [&] { editor.rename(); }},
        {"add", [&] { editor.add(); }},
        {"insert", [&] { editor.insert(); }},
        {"delete", [&] { editor.delete_entry(); }},
        {"move up", [&] { editor.move_up(); }},
        {"move down", [&] { editor.move_down(); }},
        {"set screen", [&] { set_screen(blue); }},
        {"shift+up key", [&] { editor.list_key(ListKey::up, true); }},
        {"delete key", [&] { editor.list_key(ListKey::del, false); }},
        {"insert key", [&] { editor.list_key(ListKey::insert, false); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Snapshot before = snapshot();
        c.edit();
        const Snapshot edited = snapshot();
        ASSERT_NE(edited, before);

        editor.undo();
        EXPECT_EQ(snapshot(), before);
        editor.redo();
        EXPECT_EQ(snapshot(), edited);
        editor.undo();
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(UndoRedo, UndoingAnAddWithNothingSelectedBringsBackTheEmptySelectionAndItsPreview) {
    open_entries({{"zero", kRed}});
    view.name = u"first";
    const Snapshot before = snapshot();
    ASSERT_EQ(before.selection, -1);

    editor.add();
    editor.undo();

    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(view.buttons_enabled);
}

TEST_F(UndoRedo, ABlankEntryDeletedAndBroughtBackStaysBlankAndSharesNoMemory) {
    const std::filesystem::path file = folder / "blank.dat";
    write_file(file, header_only_archive(3));
    open(file);
    ASSERT_EQ(editor.store().count(), 3u);
    const std::string opened = saved_bytes("opened.dat");
    click_row(1);

    editor.delete_entry();
    editor.undo();

    EXPECT_TRUE(editor.store().block_is_blank(1));
    EXPECT_EQ(saved_bytes("undone.dat"), opened);
}

TEST_F(UndoRedo, WithNothingToUndoOrRedoNothingHappens) {
    const WindowState before = window_state();
    editor.undo();
    editor.redo();
    EXPECT_EQ(window_state(), before);

    editor.rename();
    editor.redo();  // nothing undone yet
    EXPECT_EQ(names()[1], "typed");
}

TEST_F(UndoRedo, OpenStartsANewHistoryAndSaveKeepsIt) {
    editor.rename();
    saved_bytes("saved.dat");
    editor.undo();
    EXPECT_EQ(names()[1], "one");

    editor.redo();
    open_entries({{"zero", kRed}, {"one", kGreen}});
    const WindowState opened = window_state();
    editor.undo();
    EXPECT_EQ(window_state(), opened);
}

TEST_F(UndoRedo, ANewEditAfterAnUndoDropsWhatWasUndone) {
    editor.rename();
    editor.undo();
    editor.move_down();
    const WindowState moved = window_state();

    editor.redo();

    EXPECT_EQ(window_state(), moved);
    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "two", "one"}));
}

TEST_F(UndoRedo, RefusedEditsAreNotRecorded) {
    editor.rename();  // "typed"
    click_row(0);
    view.name = u"typed";
    editor.rename();  // the hash is in use: refused
    ASSERT_EQ(view.warnings, std::vector<std::string>{std::string(kHashCollision)});

    editor.undo();  // undoes the first rename

    EXPECT_EQ(names(), (std::vector<std::string>{"zero", "one", "two"}));
}

// Many random edits, with undos and redos among them: undone to the start, the archive saves as
// the opened file did; redone to the end, as the edited one did.
TEST_F(UndoRedo, RandomEditsUndoToTheOpenedArchiveAndRedoToTheEditedOne) {
    const std::vector<std::filesystem::path> pictures = {
        picture_file(solid_picture(kScreenWidth, kScreenHeight, 0xFFFFFFFF), "white"),
        picture_file(picture_with_colours(63), "many"),
        picture_file(picture_with_colours(64), "too-many"),                 // refused
        picture_file(solid_picture(kScreenWidth, 1, 0xFF000000), "short"),  // refused
    };
    const std::vector<std::u16string> names = {
        u"a",    u"b",
        u"zero", u"\u00E9t\u00E9",
        u"",     u"long name of fifty-six characters, give or take"};
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        open_entries({{"zero", kRed}, {"one", kGreen}, {"two", kBlue}, {"three", kWhite}});
        const std::string opened = read_file(folder / "TVK.DAT");
        std::mt19937 random(seed);
        const auto pick = [&random](std::size_t n) {
            return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, n - 1)(random));
        };
        for (int step = 0; step < 300; ++step) {
            if (!view.rows.empty() && pick(3) == 0) {
                click_row(pick(view.rows.size()));
            }
            view.name = names[static_cast<std::size_t>(pick(names.size()))];
            switch (pick(10)) {
                case 0:
                    editor.rename();
                    break;
                case 1:
                    editor.add();
                    break;
                case 2:
                    editor.insert();
                    break;
                case 3:
                    editor.delete_entry();
                    break;
                case 4:
                    editor.move_up();
                    break;
                case 5:
                    editor.move_down();
                    break;
                case 6:
                    set_screen(pictures[static_cast<std::size_t>(pick(pictures.size()))]);
                    break;
                case 7:
                    editor.undo();
                    break;
                case 8:
                    editor.redo();
                    break;
                default:
                    editor.list_key(ListKey::down, true);
                    break;
            }
            ASSERT_EQ(view.rows.size(), editor.store().count());
        }
        const std::string edited = saved_bytes("edited.dat");
        const std::size_t done = editor.history().done_count();
        ASSERT_GT(done, 20u);

        for (std::size_t i = 0; i < done; ++i) {
            editor.undo();
        }
        EXPECT_EQ(saved_bytes("undone.dat"), opened);
        EXPECT_EQ(view.rows, rows_of_store());
        for (std::size_t i = 0; i < done; ++i) {
            editor.redo();
        }
        EXPECT_EQ(saved_bytes("redone.dat"), edited);
        EXPECT_EQ(view.rows, rows_of_store());

        view.warnings.clear();
    }
}

}  // namespace
}  // namespace tvk::test
