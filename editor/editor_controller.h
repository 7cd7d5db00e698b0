#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>

#include "commands.h"
#include "edit_history.h"
#include "editor_view.h"
#include "entry_store.h"
#include "image_files.h"
#include "screen_format.h"

namespace tvk {

// The editor's behaviour, independent of any toolkit: it owns the open archive, the history of its
// edits and the pixel grid of the screen shown last, and drives the window through EditorView.
class EditorController {
  public:
    EditorController(EditorView& view, ImageFiles& images);

    void initialise();  // the six selection buttons start disabled
    void release();     // the window is going away: drop the archive

    // A button or shortcut. Anything the command throws (memory running out included) is caught
    // and reported with the command's warning, and the store is left as it was.
    void run(Command command);

    // The commands themselves, unguarded.
    void open_archive();
    void save_archive();
    void rename();
    void add();
    void insert();
    void delete_entry();
    void move_up();
    void move_down();
    void set_screen();
    void save_screen();
    void undo();
    void redo();

    // Opens this archive as Open TVK does once the file is chosen (a file named at start).
    void open_file(const std::filesystem::path& file);
    // A file dropped on the window: a picture becomes the selected entry's screen as Set Screen
    // would make it (nothing happens when no entry is selected); any other file is opened as an
    // archive.
    void drop_file(const std::filesystem::path& file);

    // The user changed the entry list's selection.
    void selection_changed();
    // A key pressed in the entry list.
    KeyAnswer list_key(ListKey key, bool shift);

    const EntryStore& store() const { return m_store; }
    const PixelGrid& pixel_grid() const { return *m_grid; }
    const EditHistory& history() const { return m_history; }

  private:
    template <typename Action>
    void guarded(std::string_view warning, Action&& action);
    // Takes back the store change of a command that failed; false when there was none.
    bool roll_back(std::size_t done_before, std::uint64_t records_before);
    void load(const std::filesystem::path& file);
    void import_picture(int selected, const Picture& picture);
    void show_entry(int index);
    void apply_enable_rule();
    void list_refill();
    void refresh_row(int index);
    void insert_entry_at(int p);
    // The selected row when it names an entry, otherwise -1.
    int valid_selection() const;
    WindowMoment moment() const;
    void show_moment(const WindowMoment& moment);
    // Brings the list in line with an edit just undone (or redone).
    void show_rows(const Edit& edit, bool undone);

    EditorView& m_view;
    ImageFiles& m_images;
    EntryStore m_store;
    EditHistory m_history;
    std::unique_ptr<PixelGrid> m_grid = std::make_unique<PixelGrid>();
};

}  // namespace tvk
