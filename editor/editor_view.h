#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "screen_format.h"

namespace tvk {

// The four file choosers of the editor; each front end gives them their filters and proposals.
enum class FileChoice {
    open_archive,  // "All" / "*", proposes "TVK.DAT", the file must exist
    save_archive,  // "All" / "*", proposes "TVK.DAT", no overwrite question
    open_image,    // "All" / "*", empty name, the file must exist
    save_png,      // "PNG" / "*.png" then "All" / "*", empty name, no overwrite question
};

// The keys of the entry list that the editor maps.
enum class ListKey { up, down, insert, del, other };

// What the editor answers for a key in the entry list: let the list handle the key as well, or the
// key has been fully handled.
enum class KeyAnswer { list_handles_key, handled };

// What the editor needs of its window. Shaped like the Windows controls: the entry list keeps its
// row texts, a selection of -1 means none, and a selection made through select_row is never
// reported back as the user's selection change.
class EditorView {
  public:
    virtual ~EditorView() = default;

    virtual int row_count() const = 0;
    virtual std::u16string row_text(int row) const = 0;
    virtual void add_row(const std::u16string& text) = 0;
    virtual void insert_row(int row, const std::u16string& text) = 0;
    virtual void delete_row(int row) = 0;
    virtual int selected_row() const = 0;
    virtual void select_row(int row) = 0;

    virtual std::u16string name_text() const = 0;
    virtual void set_name_text(const std::u16string& text) = 0;

    // Rename, Insert, Delete, Set Screen, Move Up and Move Down.
    virtual void enable_selection_buttons(bool enabled) = 0;
    // Draws the grid into the preview; the window shows it at its next repaint.
    virtual void show_preview(const PixelGrid& grid) = 0;
    // A modal warning box titled "Error" with one OK button.
    virtual void warn(std::string_view message) = 0;
    // Runs a file chooser; nullopt when the user cancelled.
    virtual std::optional<std::filesystem::path> choose_file(FileChoice choice) = 0;
};

}  // namespace tvk
