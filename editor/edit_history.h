#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "entry_store.h"
#include "screen_format.h"

namespace tvk {

// What the window showed around an edit: the selected row, the name box, and, when no row was
// selected, the picture in the preview (with a row selected, that row's screen is the picture).
struct WindowMoment {
    int selected = -1;
    std::u16string name;
    std::shared_ptr<const PixelGrid> preview;
};

enum class EditKind {
    rename,      // the entry's name record changed
    set_screen,  // the entry's screen block changed
    insert,      // an entry was put at the index
    remove,      // the entry at the index was taken out
    swap,        // the entries at the index and the next one changed places
};

// One edit of the store, holding only what it changed: the name record or screen block that is
// not in the store at the moment, or the whole entry while it is out of the store (its block null
// when the screen is blank).
struct Edit {
    EditKind kind;
    std::size_t index;
    WindowMoment before;
    WindowMoment after;
    std::unique_ptr<NameBuffer> name;
    std::unique_ptr<ScreenBlock> block;
};

// Takes entry i out of the store into the edit. Throws std::bad_alloc with the store unchanged.
void take_out(EntryStore& store, Edit& edit);
// Undoes the edit on the store, or does it again. Either throws std::bad_alloc with the store and
// the edit unchanged, or completes.
void undo_edit(EntryStore& store, Edit& edit);
void redo_edit(EntryStore& store, Edit& edit);

// The edits since the archive was opened, and how many of them are in effect.
class EditHistory {
  public:
    void clear();
    // Makes room for one more edit, so that record() cannot fail once the store is changed.
    void reserve_one();
    // Forgets the undone edits and appends this one; reserve_one() must have come first.
    void record(Edit edit) noexcept;
    // The edit to undo next and the one to redo next; null when there is none.
    Edit* next_undo();
    Edit* next_redo();
    // Called once the edit from next_undo() or next_redo() has been applied.
    void step_back() { --m_done; }
    void step_forward() { ++m_done; }
    // Forgets the newest edit in effect (it has been undone and must not come back).
    void forget_last();

    std::size_t done_count() const { return m_done; }
    std::size_t size() const { return m_edits.size(); }
    // How many edits were ever recorded: tells whether a command recorded one.
    std::uint64_t record_count() const { return m_records; }

  private:
    std::vector<Edit> m_edits;
    std::size_t m_done = 0;
    std::uint64_t m_records = 0;
};

}  // namespace tvk
