#include "editor_controller.h"

#include <utility>

#include "archive_file.h"
#include "entry_editing.h"
#include "messages.h"
#include "name_text.h"
#include "screen_codec.h"
#include "screen_image.h"

namespace tvk {

EditorController::EditorController(EditorView& view, ImageFiles& images)
    : m_view(view), m_images(images) {}

void EditorController::initialise() {
    apply_enable_rule();
}

void EditorController::release() {
    m_store.clear();
}

void EditorController::open_archive() {
    if (const auto file = m_view.choose_file(FileChoice::open_archive)) {
        // The previous archive is dropped whatever the outcome.
        if (const std::error_code error = open_archive_file(m_store, *file)) {
            m_view.warn(error == ArchiveError::not_an_archive ? kNotAnArchive : kCantOpen);
        }
        list_refill();
    }
    apply_enable_rule();
}

void EditorController::save_archive() {
    const auto file = m_view.choose_file(FileChoice::save_archive);
    if (!file) {
        return;
    }
    if (const std::error_code error = save_archive_file(m_store, *file)) {
        m_view.warn(error == ArchiveError::too_many_entries ? kTooManyEntries : kCantSave);
    }
}

void EditorController::rename() {
    const int selected = valid_selection();
    if (selected == -1) {
        return;
    }
    const EditResult result = rename_entry(m_store, static_cast<std::size_t>(selected),
                                           build_name_record(m_view.name_text()));
    if (result != EditResult::done) {
        m_view.warn(message_for(result));
        return;
    }
    refresh_row(selected);
}

void EditorController::add() {
    insert_entry_at(static_cast<int>(m_store.count()));
}

void EditorController::insert() {
    const int selected = valid_selection();
    if (selected != -1) {
        insert_entry_at(selected);
    }
}

void EditorController::delete_entry() {
    const int selected = valid_selection();
    if (selected != -1) {
        m_store.remove_at(static_cast<std::size_t>(selected));
        m_view.delete_row(selected);
        m_view.select_row(selected < static_cast<int>(m_store.count()) ? selected : selected - 1);
    }
    if (const int now = valid_selection(); now != -1) {
        show_entry(now);
    }
    apply_enable_rule();
}

void EditorController::move_up() {
    const int selected = valid_selection();
    if (selected <= 0) {
        return;
    }
    m_store.swap_neighbours(static_cast<std::size_t>(selected - 1));
    refresh_row(selected - 1);
    refresh_row(selected);
    m_view.select_row(selected - 1);
    show_entry(selected - 1);
}

void EditorController::move_down() {
    const int selected = valid_selection();
    if (selected == -1 || selected + 1 >= static_cast<int>(m_store.count())) {
        return;
    }
    m_store.swap_neighbours(static_cast<std::size_t>(selected));
    refresh_row(selected);
    refresh_row(selected + 1);
    m_view.select_row(selected + 1);
    show_entry(selected + 1);
}

void EditorController::set_screen() {
    const int selected = valid_selection();
    if (selected == -1) {
        return;
    }
    const auto file = m_view.choose_file(FileChoice::open_image);
    if (!file) {
        return;
    }
    const ImportResult result = screen_from_picture(
        read_screen_picture(m_images, *file).picture, m_store.screen_block(static_cast<std::size_t>(selected)));
    if (result != ImportResult::imported) {
        m_view.warn(message_for(result));
        return;
    }
    show_entry(selected);
}

void EditorController::save_screen() {
    const auto file = m_view.choose_file(FileChoice::save_png);
    if (file && export_png(m_images, *m_grid, *file)) {
        m_view.warn(kCantSave);
    }
}

void EditorController::selection_changed() {
    if (const int selected = valid_selection(); selected != -1) {
        show_entry(selected);
    }
    apply_enable_rule();
}

int EditorController::list_key(ListKey key, bool shift) {
    switch (key) {
        case ListKey::up:
            if (!shift) {
                return kListHandlesKey;
            }
            move_up();
            return kKeyHandled;
        case ListKey::down:
            if (!shift) {
                return kListHandlesKey;
            }
            move_down();
            return kKeyHandled;
        case ListKey::insert:
            insert();
            return kListHandlesKey;
        case ListKey::del:
            delete_entry();
            return kKeyHandled;
        case ListKey::other:
            break;
    }
    return kListHandlesKey;
}

void EditorController::show_entry(int index) {
    // Read through the const store, so that showing a blank entry gives it no buffer of its own.
    decode_screen(std::as_const(m_store).screen_block(static_cast<std::size_t>(index)), *m_grid);
    m_view.show_preview(*m_grid);
    m_view.set_name_text(m_view.row_text(index));
}

void EditorController::apply_enable_rule() {
    m_view.enable_selection_buttons(m_view.selected_row() != -1);
}

void EditorController::list_refill() {
    for (int row = m_view.row_count() - 1; row >= 0; --row) {
        m_view.delete_row(row);
    }
    for (std::size_t i = 0; i < m_store.count(); ++i) {
        m_view.add_row(widen_name(m_store.display_name(i)));
    }
    m_view.select_row(-1);
}

void EditorController::refresh_row(int index) {
    const std::u16string text = widen_name(m_store.display_name(static_cast<std::size_t>(index)));
    m_view.delete_row(index);
    m_view.insert_row(index, text);
    m_view.select_row(index);
}

void EditorController::insert_entry_at(int p) {
    if (p < 0 || p > static_cast<int>(m_store.count())) {
        return;
    }
    const EditResult result = insert_named_entry(m_store, static_cast<std::size_t>(p),
                                                 build_name_record(m_view.name_text()));
    if (result != EditResult::done) {
        m_view.warn(message_for(result));
        return;
    }
    // The row shows the stored name, so the list always mirrors what will be saved.
    m_view.insert_row(p, widen_name(m_store.display_name(static_cast<std::size_t>(p))));
    m_view.select_row(p);
    show_entry(p);
    apply_enable_rule();
}

int EditorController::valid_selection() const {
    const int selected = m_view.selected_row();
    return selected >= 0 && selected < static_cast<int>(m_store.count()) ? selected : -1;
}

}  // namespace tvk
