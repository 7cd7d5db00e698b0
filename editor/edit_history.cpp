#include "edit_history.h"

#include <algorithm>

namespace tvk {
namespace {

void put_back(EntryStore& store, Edit& edit) {
    store.append_new_entry();
    store.move_last_to(edit.index);
    try {
        store.name_buffer(edit.index) = *edit.name;
        if (edit.block) {
            store.screen_block(edit.index) = *edit.block;
        }
    } catch (...) {
        // A buffer could not be had: the entry goes again, and the store is as it was.
        store.remove_at(edit.index);
        throw;
    }
    edit.name.reset();
    edit.block.reset();
}

// Rename and Set Screen keep the other version of what they changed: undoing and redoing both
// exchange it with the store's.
void exchange(EntryStore& store, Edit& edit) {
    switch (edit.kind) {
        case EditKind::rename:
            std::swap(store.name_buffer(edit.index), *edit.name);
            break;
        case EditKind::set_screen:
            std::swap(store.screen_block(edit.index), *edit.block);
            break;
        case EditKind::swap:
            store.swap_neighbours(edit.index);
            break;
        case EditKind::insert:
        case EditKind::remove:
            break;
    }
}

}  // namespace

void take_out(EntryStore& store, Edit& edit) {
    const EntryStore& stored = store;
    auto name = std::make_unique<NameBuffer>(stored.name_buffer(edit.index));
    // A blank screen is not copied: the entry comes back blank.
    auto block = store.block_is_blank(edit.index)
                     ? nullptr
                     : std::make_unique<ScreenBlock>(stored.screen_block(edit.index));
    store.remove_at(edit.index);
    edit.name = std::move(name);
    edit.block = std::move(block);
}

void undo_edit(EntryStore& store, Edit& edit) {
    switch (edit.kind) {
        case EditKind::insert:
            take_out(store, edit);
            break;
        case EditKind::remove:
            put_back(store, edit);
            break;
        default:
            exchange(store, edit);
            break;
    }
}

void redo_edit(EntryStore& store, Edit& edit) {
    switch (edit.kind) {
        case EditKind::insert:
            put_back(store, edit);
            break;
        case EditKind::remove:
            take_out(store, edit);
            break;
        default:
            exchange(store, edit);
            break;
    }
}

void EditHistory::clear() {
    m_edits.clear();
    m_done = 0;
}

void EditHistory::reserve_one() {
    if (m_done == m_edits.capacity()) {
        m_edits.reserve(std::max<std::size_t>(16, 2 * m_done));
    }
}

void EditHistory::record(Edit edit) noexcept {
    m_edits.erase(m_edits.begin() + static_cast<std::ptrdiff_t>(m_done), m_edits.end());
    m_edits.push_back(std::move(edit));
    ++m_done;
    ++m_records;
}

Edit* EditHistory::next_undo() {
    return m_done == 0 ? nullptr : &m_edits[m_done - 1];
}

Edit* EditHistory::next_redo() {
    return m_done == m_edits.size() ? nullptr : &m_edits[m_done];
}

void EditHistory::forget_last() {
    m_edits.erase(m_edits.begin() + static_cast<std::ptrdiff_t>(m_done), m_edits.end());
    m_edits.pop_back();
    --m_done;
}

}  // namespace tvk
