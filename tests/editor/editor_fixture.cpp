#include "editor_fixture.h"

namespace tvk::test {

void EditorTest::open_entries(const std::vector<TestEntry>& entries) {
    const std::filesystem::path file = folder / "TVK.DAT";
    write_archive(file, entries);
    open(file);
    ASSERT_EQ(editor.store().count(), entries.size());
}

void EditorTest::open(const std::filesystem::path& file) {
    view.answer_file(file);
    editor.open_archive();
}

void EditorTest::click_row(int row) {
    view.selection = row;
    editor.selection_changed();
}

void EditorTest::add(const std::u16string& name) {
    view.name = name;
    editor.add();
}

std::vector<std::string> EditorTest::names() const {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < editor.store().count(); ++i) {
        result.push_back(stored_name(editor.store(), i));
    }
    return result;
}

WindowState EditorTest::window_state() const {
    return {view.rows,           view.selection,       view.name,
            view.previews_drawn, view.buttons_enabled, names()};
}

}  // namespace tvk::test
