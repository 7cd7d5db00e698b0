#pragma once

#include <map>
#include <new>
#include <vector>

#include "editor_view.h"
#include "image_files.h"
#include "temp_folder.h"

// The window and the image files that the editor's tests give it.
namespace tvk::test {

// An EditorView kept as the Windows controls keep themselves: inserting a row at or above the
// selection moves the selection with its row, deleting the selected row leaves none, and a row
// index the list box would refuse changes nothing. Warnings are logged.
class RecordingView : public EditorView {
  public:
    int row_count() const override { return static_cast<int>(rows.size()); }
    std::u16string row_text(int row) const override { return exists(row) ? rows[row] : u""; }
    void add_row(const std::u16string& text) override { rows.push_back(text); }
    void insert_row(int row, const std::u16string& text) override {
        if (inserts_before_failure >= 0 && inserts_before_failure-- == 0) {
            throw std::bad_alloc();
        }
        if (row == row_count() || exists(row)) {
            rows.insert(rows.begin() + row, text);
            selection += selection != -1 && row <= selection;
        }
    }
    void delete_row(int row) override {
        if (exists(row)) {
            rows.erase(rows.begin() + row);
            selection = row == selection ? -1 : selection - (row < selection);
        }
    }
    int selected_row() const override { return selection; }
    void select_row(int row) override { selection = exists(row) ? row : -1; }
    std::u16string name_text() const override { return name; }
    void set_name_text(const std::u16string& text) override { name = text; }
    void enable_selection_buttons(bool enabled) override { buttons_enabled = enabled; }
    void show_preview(const PixelGrid& grid) override { preview = grid; }
    void warn(std::string_view message) override { log.append(message).append(";"); }
    // The chooser returns the answer queued for its kind; without one the user cancels.
    std::optional<std::filesystem::path> choose_file(FileChoice choice) override {
        auto answer = answers.extract(choice);
        return answer ? std::optional(answer.mapped()) : std::nullopt;
    }

    std::vector<std::u16string> rows;
    int selection = -1;
    std::u16string name;
    bool buttons_enabled = true;  // as the window creates them
    std::optional<PixelGrid> preview;
    std::string log;
    std::map<FileChoice, std::filesystem::path> answers;
    // When 0 or more: so many rows are inserted, then insert_row throws std::bad_alloc once.
    int inserts_before_failure = -1;

    bool exists(int row) const { return row >= 0 && row < row_count(); }
};

// Image files whose bytes are a key to the picture they were encoded from, so that a picture of
// any size or content can be put on disk and an exported screen reads back exactly.
class FakeImageFiles : public ImageFiles {
  public:
    PictureFile read_picture(const std::filesystem::path& file,
                             std::optional<PictureSize> only_size) override {
        if (throw_on_read) {
            throw std::bad_alloc();
        }
        const auto found = encoded.find(read_file(file));
        if (found == encoded.end()) {
            return {{}, std::string(kNotAPicture)};
        }
        // As the platforms' libraries do, pixels only at the size asked for.
        Picture p = found->second;
        if (only_size && (only_size->width != p.width || only_size->height != p.height)) {
            p.argb.clear();
        }
        return {p, {}};
    }
    std::optional<std::string> encode_png(const Picture& picture) override {
        const std::string bytes = "picture " + std::to_string(encoded.size());
        encoded[bytes] = picture;
        return fail_encoding ? std::nullopt : std::optional(bytes);
    }
    // The editor writes its screens as RGB only.
    std::optional<std::string> encode_palette_png(const PalettePicture&) override { return {}; }

    std::map<std::string, Picture> encoded;
    bool fail_encoding = false;
    bool throw_on_read = false;
};

}  // namespace tvk::test
