#pragma once

#include <memory>

#include "editor_view.h"
#include "entry_store.h"
#include "image_files.h"
#include "screen_format.h"

namespace tvk {

// The editor's behaviour, independent of any toolkit: it owns the open archive and the pixel grid
// of the screen shown last, and drives the window through EditorView.
class EditorController {
  public:
    EditorController(EditorView& view, ImageFiles& images);

    void initialise();  // the six selection buttons start disabled
    void release();     // the window is going away: drop the archive

    // The buttons.
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

    // The user changed the entry list's selection.
    void selection_changed();
    // A key pressed in the entry list: kListHandlesKey or kKeyHandled.
    int list_key(ListKey key, bool shift);

    const EntryStore& store() const { return m_store; }
    const PixelGrid& pixel_grid() const { return *m_grid; }

  private:
    void show_entry(int index);
    void apply_enable_rule();
    void list_refill();
    void refresh_row(int index);
    void insert_entry_at(int p);
    // The selected row when it names an entry, otherwise -1.
    int valid_selection() const;

    EditorView& m_view;
    ImageFiles& m_images;
    EntryStore m_store;
    std::unique_ptr<PixelGrid> m_grid = std::make_unique<PixelGrid>();
};

}  // namespace tvk
