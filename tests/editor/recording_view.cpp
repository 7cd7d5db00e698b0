#include "recording_view.h"

#include <new>

namespace tvk::test {

int RecordingView::row_count() const {
    return static_cast<int>(rows.size());
}

std::u16string RecordingView::row_text(int row) const {
    if (!row_exists(row)) {
        misuse("row_text", row);
        return {};
    }
    return rows[static_cast<std::size_t>(row)];
}

void RecordingView::add_row(const std::u16string& text) {
    rows.push_back(text);
}

void RecordingView::insert_row(int row, const std::u16string& text) {
    if (inserts_before_failure >= 0 && inserts_before_failure-- == 0) {
        throw std::bad_alloc();
    }
    if (row < 0 || row > row_count()) {
        misuse("insert_row", row);
        return;
    }
    rows.insert(rows.begin() + row, text);
    if (selection != -1 && row <= selection) {
        ++selection;
    }
}

void RecordingView::delete_row(int row) {
    if (!row_exists(row)) {
        misuse("delete_row", row);
        return;
    }
    rows.erase(rows.begin() + row);
    if (row == selection) {
        selection = -1;
    } else if (row < selection) {
        --selection;
    }
}

int RecordingView::selected_row() const {
    return selection;
}

void RecordingView::select_row(int row) {
    if (row != -1 && !row_exists(row)) {
        misuse("select_row", row);
        row = -1;
    }
    selection = row;
}

std::u16string RecordingView::name_text() const {
    return name;
}

void RecordingView::set_name_text(const std::u16string& text) {
    name = text;
}

void RecordingView::enable_selection_buttons(bool enabled) {
    buttons_enabled = enabled;
}

void RecordingView::show_preview(const PixelGrid& grid) {
    preview = std::make_unique<PixelGrid>(grid);
    ++previews_drawn;
}

void RecordingView::warn(std::string_view message) {
    warnings.emplace_back(message);
}

std::optional<std::filesystem::path> RecordingView::choose_file(FileChoice choice) {
    choices.push_back(choice);
    if (file_answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

void RecordingView::misuse(std::string_view call, int row) const {
    misuses.push_back(std::string(call) + "(" + std::to_string(row) + ") with " +
                      std::to_string(rows.size()) + " rows");
}

}  // namespace tvk::test
