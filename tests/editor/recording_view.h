#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor_view.h"

namespace tvk::test {

// An EditorView that keeps its state like the Windows controls do and records what the editor
// asked of it. The entry list follows the list box: inserting a row at or above the selection
// moves the selection down with its row, deleting the selected row leaves no selection, and a call
// that the list box would refuse (an index out of range) changes nothing and is noted in `misuses`.
class RecordingView : public EditorView {
  public:
    int row_count() const override;
    std::u16string row_text(int row) const override;
    void add_row(const std::u16string& text) override;
    void insert_row(int row, const std::u16string& text) override;
    void delete_row(int row) override;
    int selected_row() const override;
    void select_row(int row) override;

    std::u16string name_text() const override;
    void set_name_text(const std::u16string& text) override;

    void enable_selection_buttons(bool enabled) override;
    void show_preview(const PixelGrid& grid) override;
    void warn(std::string_view message) override;
    std::optional<std::filesystem::path> choose_file(FileChoice choice) override;

    // The next file chooser returns `file`; one that finds no answer queued is cancelled.
    void answer_file(const std::filesystem::path& file) { file_answers.emplace_back(file); }

    std::vector<std::u16string> rows;
    int selection = -1;
    std::u16string name;
    bool buttons_enabled = true;  // as the window creates them, before the editor's first rule
    std::unique_ptr<PixelGrid> preview;  // null until the editor draws one
    int previews_drawn = 0;
    std::vector<std::string> warnings;
    std::deque<std::optional<std::filesystem::path>> file_answers;
    std::vector<FileChoice> choices;
    mutable std::vector<std::string> misuses;
    // When 0 or more: so many more rows are inserted, then insert_row throws std::bad_alloc once.
    int inserts_before_failure = -1;

  private:
    bool row_exists(int row) const { return row >= 0 && row < row_count(); }
    void misuse(std::string_view call, int row) const;
};

}  // namespace tvk::test
