// The commands of the main window, each run on the archive "abc" just opened, seen through the
// view: what they show, what they refuse with which message, when they do nothing, what they
// write, and how undo and redo bring back every stored byte with the list, selection, name box
// and preview.
#include <random>

#include "editor_fixture.h"

namespace tvk::test {
namespace {

constexpr const char* kCollision = "This name make hash collision;";

// A script and the state it leaves.
const std::pair<const char*, const char*> kWorked[] = {
    {"", "zero:R one:G two:B ||off|-|"},
    {"@1", "zero:R *one:G two:B |one|on|G|"},
    {"@1 @- =typed open:abc", "zero:R one:G two:B |typed|off|G|"},
    {"@0 =new add", "zero:R one:G two:B *new:K |new|on|K|"},
    {"@2 =new ins", "zero:R one:G *new:K two:B |new|on|K|"},
    {"@1 =renamed^tail ren", "zero:R *renamed:G two:B |renamed?tail|on|G|"},
    {"@1 del", "zero:R *two:B |two|on|B|"},
    {"@1 up", "*one:G zero:R two:B |one|on|G|"},
    {"@1 down down", "zero:R two:B *one:G |one|on|G|"},
    {"@1 ku kd ko kO kU kU kD kD kD", "zero:R two:B *one:G |one|on|G|[l][l][l][l][h][h][h][h][h]"},
    {"@0 open:text open:missing", "|zero|off|R|It's not TVK.DAT;Can't open;"},
    {"=ab^cd add =\xE9t\xE9 add", "zero:R one:G two:B ab:K *\xE9t\xE9:K |\xE9t\xE9|on|K|"},
    {"@2 del del =typed del", "|typed|off|R|"},
    {"=new ki kX @1 =new kI @0 kx", "*new:K one:G two:B |new|on|K|[l][h][l][h]"},
    {"@1 =typed set:white @2 =typed drop:white", "zero:R one:W *two:W |two|on|W|"},
    {"@0 drop:text drop:missing drop:abc",
     "zero:R one:G two:B |zero|off|R|It's not TVK.DAT;Can't open;"},
    {"@1 del fail0 undo undo", "zero:R *one:G two:B |one|on|G|Too many entries;"},
    {"@1 =typed ren @0 =typed ren undo",
     "zero:R *one:G two:B |typed|on|G|This name make hash collision;"},
};

// Steps after which the state is as before them but for their warnings: refusals and no-ops.
const std::tuple<const char*, const char*, std::string> kKept[] = {
    {"@1 =typed", "set:wide set:tall set:64c set:text set:missing set:short drop:wide drop:tall",
     "Image width must be 120;Image height must be 112;Image consists more than 63 colors!;"
     "Image width must be 120;Image width must be 120;Image width must be 120;"
     "Image width must be 120;Image height must be 112;"},
    {"@1 =typed", "fail0 add fail0 ins fail0 ren fail1 down redo throw set:white drop:white",
     "Too many entries;Too many entries;Too many entries;Too many entries;"
     "Image width must be 120;Image width must be 120;"},
    {"@1", "save:dir export:dir nopng export:shot", "Can't save;Can't save;Can't save;"},
    {"@2 =zero", "ins ren", std::string(kCollision) + kCollision},
    {"=ac add =cb", "add", kCollision},
    {"= add =", "add", kCollision},
    {"=x", "ins ren del up down set:white drop:white undo redo", ""},
    {"@0 =typed", "open set save export up", ""},
    {"@2", "down ren", ""},
    {"@1 =x ren undo =y ren", "redo", ""},
    {"@1 =x ren open:abc", "undo", ""},
};

TEST_F(EditorTest, CommandsShowTheirOutcomeOrKeepTheStateWithTheirWarnings) {
    for (const auto& [script, expected] : kWorked) {
        SCOPED_TRACE(script);
        restart();
        run(script);
        EXPECT_EQ(state(), expected);
    }
    for (const auto& [before, steps, warnings] : kKept) {
        SCOPED_TRACE(steps);
        restart();
        run(before);
        const std::string expected = state() + warnings;
        run(steps);
        EXPECT_EQ(state(), expected);
    }
}

TEST_F(EditorTest, SaveWritesTheArchiveAndSaveScreenTheScreenShown) {
    run("@1 save:text set:63c export:shot");
    EXPECT_EQ(view->log, "");
    EXPECT_EQ(read_file(folder / "text"), read_file(folder / "abc"));
    EXPECT_EQ(images.encoded.at(read_file(folder / "shot")).argb, picture_of(grid_with_colours(63)).argb);
}

TEST_F(EditorTest, NoMoreThan1018EntriesAreAddedInsertedOrSaved) {
    write_file(folder / "full", header_only_archive(kMaxEntries - 1));
    write_file(folder / "over", header_only_archive(kMaxEntries + 1));
    run("open:full =last add save:full =more add @5 ins");
    run("open:over @1018 save:text del undo");
    EXPECT_EQ(view->log, "Too many entries;Too many entries;Too many entries;");
    EXPECT_EQ(read_file(folder / "text"), "just some text\n");
    // An entry past the end of the file shows black and keeps sharing the blank stand-in, even
    // when it comes back from an undo.
    EXPECT_EQ(*view->preview, PixelGrid{});
    EXPECT_TRUE(editor->store().block_is_blank(kMaxEntries));
    editor->release();  // the window closes
    EXPECT_EQ(editor->store().count(), 0u);
}

TEST_F(EditorTest, EveryEditIsUndoneAndRedoneWithItsWindow) {
    // The window before the edit | the edit.
    for (const std::string script :
         {"@1 =typed|ren", "@1 =new|add", "@1 =new|ins", "@1|del", "@1|up", "@1|down", "@1|set:63c",
          "@1|kU", "@1|kX", "@1 =new|kI", "@1|drop:white", "@1 @- =new|add"}) {
        SCOPED_TRACE(script);
        restart();
        run(script.substr(0, script.find('|')));
        const std::string before = state();
        run(script.substr(script.find('|') + 1));
        view->log.clear();
        const std::string after = state();
        EXPECT_NE(after, before);
        run("undo");
        EXPECT_EQ(state(), before);
        run("redo");
        EXPECT_EQ(state(), after);
    }
}

TEST_F(EditorTest, RandomEditsUndoToTheOpenedArchiveAndRedoToTheEditedOne) {
    const std::vector<std::string> steps = {
        "=a",        "=b",      "=zero",   "=\xE9t\xE9", "=",    "=cb", "ren",
        "add",       "ins",     "del",     "up",         "down", "kD",  "kX",
        "set:white", "set:63c", "set:64c", "set:tall",   "undo", "redo"};
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        restart();
        std::mt19937 random(seed);
        for (int i = 0; i < 300; ++i) {
            const std::size_t pick = random() % (steps.size() + 3);
            run(pick < steps.size()  ? steps[pick]
                : view->rows.empty() ? "@-"
                                     : "@" + std::to_string(random() % view->rows.size()));
        }
        run("save:edited");
        const std::size_t done = editor->history().done_count();
        ASSERT_GT(done, 20u);
        for (const std::string step : {"undo", "redo"}) {
            for (std::size_t i = 0; i < done; ++i) {
                run(step);
            }
            run("save:" + step);
        }
        EXPECT_EQ(read_file(folder / "undo"), read_file(folder / "abc"));
        EXPECT_EQ(read_file(folder / "redo"), read_file(folder / "edited"));
        EXPECT_EQ(state().find("!="), std::string::npos) << state();
    }
}

}  // namespace
}  // namespace tvk::test
