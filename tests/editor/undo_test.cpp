// Undo and redo bring back every stored byte, and the list, selection, name box and preview.
#include <random>

#include "editor_fixture.h"

namespace tvk::test {
namespace {

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
