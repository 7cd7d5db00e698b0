#include "editor_controller.h"

#include <optional>
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
    m_history.clear();
    m_store.clear();
}

void EditorController::run(Command command) {
    guarded(binding_of(command).failure_warning, [this, command] {
        switch (command) {
            case Command::open_archive:
                return open_archive();
            case Command::save_archive:
                return save_archive();
            case Command::rename:
                return rename();
            case Command::add:
                return add();
            case Command::insert:
                return insert();
            case Command::delete_entry:
                return delete_entry();
            case Command::move_up:
                return move_up();
            case Command::move_down:
                return move_down();
            case Command::set_screen:
                return set_screen();
            case Command::save_screen:
                return save_screen();
            case Command::undo:
                return undo();
            case Command::redo:
                return redo();
        }
    });
}

template <typename Action>
void EditorController::guarded(std::string_view warning, Action&& action) {
    const std::size_t done = m_history.done_count();
    const std::uint64_t records = m_history.record_count();
    std::optional<WindowMoment> before;
    try {
        before = moment();
        action();
    } catch (...) {
        try {
            if (roll_back(done, records) && before) {
                // The window may have followed the edit part of the way: show the store afresh.
                list_refill();
                show_moment(*before);
            }
        } catch (...) {
            // Memory is still short; the store is as whole as the failed step left it.
        }
        m_view.warn(warning);
    }
}

bool EditorController::roll_back(std::size_t done_before, std::uint64_t records_before) {
    if (m_history.record_count() != records_before) {
        undo_edit(m_store, *m_history.next_undo());
        m_history.forget_last();
    } else if (m_history.done_count() > done_before) {
        undo_edit(m_store, *m_history.next_undo());
        m_history.step_back();
    } else if (m_history.done_count() < done_before) {
        redo_edit(m_store, *m_history.next_redo());
        m_history.step_forward();
    } else {
        return false;
    }
    return true;
}

void EditorController::open_archive() {
    if (const auto file = m_view.choose_file(FileChoice::open_archive)) {
        load(*file);
    }
    apply_enable_rule();
}

void EditorController::open_file(const std::filesystem::path& file) {
    guarded(kCantOpen, [this, &file] {
        load(file);
        apply_enable_rule();
    });
}

void EditorController::load(const std::filesystem::path& file) {
    // Read into a store of its own, so that a load that throws leaves the open archive alone. The
    // previous archive is dropped whatever the outcome.
    EntryStore loaded;
    const std::error_code error = open_archive_file(loaded, file);
    m_store = std::move(loaded);
    m_history.clear();
    if (error) {
        m_view.warn(error == ArchiveError::not_an_archive ? kNotAnArchive : kCantOpen);
    }
    list_refill();
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
    const auto index = static_cast<std::size_t>(selected);
    const NameRecord name = build_name_record(m_view.name_text());
    Edit edit{EditKind::rename,
              index,
              moment(),
              {},
              std::make_unique<NameBuffer>(m_store.name_buffer(index)),
              nullptr};
    m_history.reserve_one();
    const EditResult result = rename_entry(m_store, index, name);
    if (result != EditResult::done) {
        m_view.warn(message_for(result));
        return;
    }
    m_history.record(std::move(edit));
    refresh_row(selected);
    m_history.next_undo()->after = moment();
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
        Edit edit{EditKind::remove, static_cast<std::size_t>(selected), moment(), {}, nullptr,
                  nullptr};
        m_history.reserve_one();
        take_out(m_store, edit);
        m_history.record(std::move(edit));
        m_view.delete_row(selected);
        m_view.select_row(selected < static_cast<int>(m_store.count()) ? selected : selected - 1);
    }
    if (const int now = valid_selection(); now != -1) {
        show_entry(now);
    }
    apply_enable_rule();
    if (selected != -1) {
        m_history.next_undo()->after = moment();
    }
}

void EditorController::move_up() {
    const int selected = valid_selection();
    if (selected <= 0) {
        return;
    }
    Edit edit{EditKind::swap, static_cast<std::size_t>(selected - 1), moment(), {}, nullptr,
              nullptr};
    m_history.reserve_one();
    m_store.swap_neighbours(static_cast<std::size_t>(selected - 1));
    m_history.record(std::move(edit));
    refresh_row(selected - 1);
    refresh_row(selected);
    m_view.select_row(selected - 1);
    show_entry(selected - 1);
    m_history.next_undo()->after = moment();
}

void EditorController::move_down() {
    const int selected = valid_selection();
    if (selected == -1 || selected + 1 >= static_cast<int>(m_store.count())) {
        return;
    }
    Edit edit{EditKind::swap, static_cast<std::size_t>(selected), moment(), {}, nullptr, nullptr};
    m_history.reserve_one();
    m_store.swap_neighbours(static_cast<std::size_t>(selected));
    m_history.record(std::move(edit));
    refresh_row(selected);
    refresh_row(selected + 1);
    m_view.select_row(selected + 1);
    show_entry(selected + 1);
    m_history.next_undo()->after = moment();
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
    import_picture(selected, read_screen_picture(m_images, *file).picture);
}

void EditorController::import_picture(int selected, const Picture& picture) {
    const auto index = static_cast<std::size_t>(selected);
    ScreenBlock& block = m_store.screen_block(index);
    Edit edit{
        EditKind::set_screen, index, moment(), {}, nullptr, std::make_unique<ScreenBlock>(block)};
    m_history.reserve_one();
    const ImportResult result = screen_from_picture(picture, block);
    if (result != ImportResult::imported) {
        m_view.warn(message_for(result));
        return;
    }
    m_history.record(std::move(edit));
    show_entry(selected);
    m_history.next_undo()->after = moment();
}

void EditorController::drop_file(const std::filesystem::path& file) {
    std::optional<PictureFile> read;
    guarded(binding_of(Command::set_screen).failure_warning,
            [this, &file, &read] { read = read_screen_picture(m_images, file); });
    if (!read) {
        return;
    }
    if (!read->error.empty()) {
        open_file(file);
        return;
    }
    guarded(binding_of(Command::set_screen).failure_warning, [this, &read] {
        if (const int selected = valid_selection(); selected != -1) {
            import_picture(selected, read->picture);
        }
    });
}

void EditorController::save_screen() {
    const auto file = m_view.choose_file(FileChoice::save_png);
    if (file && export_png(m_images, *m_grid, *file)) {
        m_view.warn(kCantSave);
    }
}

void EditorController::undo() {
    Edit* edit = m_history.next_undo();
    if (edit == nullptr) {
        return;
    }
    undo_edit(m_store, *edit);
    m_history.step_back();
    show_rows(*edit, true);
    show_moment(edit->before);
}

void EditorController::redo() {
    Edit* edit = m_history.next_redo();
    if (edit == nullptr) {
        return;
    }
    redo_edit(m_store, *edit);
    m_history.step_forward();
    show_rows(*edit, false);
    show_moment(edit->after);
}

void EditorController::show_rows(const Edit& edit, bool undone) {
    const auto index = static_cast<int>(edit.index);
    switch (edit.kind) {
        case EditKind::rename:
            refresh_row(index);
            break;
        case EditKind::swap:
            refresh_row(index);
            refresh_row(index + 1);
            break;
        case EditKind::insert:
        case EditKind::remove:
            if (undone == (edit.kind == EditKind::insert)) {
                m_view.delete_row(index);
            } else {
                m_view.insert_row(index, widen_name(m_store.display_name(edit.index)));
            }
            break;
        case EditKind::set_screen:
            break;
    }
}

WindowMoment EditorController::moment() const {
    const int selected = valid_selection();
    return {selected, m_view.name_text(),
            selected == -1 ? std::make_shared<const PixelGrid>(*m_grid) : nullptr};
}

void EditorController::show_moment(const WindowMoment& moment) {
    m_view.select_row(moment.selected);
    if (moment.selected != -1) {
        show_entry(moment.selected);
    } else if (moment.preview) {
        *m_grid = *moment.preview;
        m_view.show_preview(*m_grid);
    }
    m_view.set_name_text(moment.name);
    apply_enable_rule();
}

void EditorController::selection_changed() {
    if (const int selected = valid_selection(); selected != -1) {
        show_entry(selected);
    }
    apply_enable_rule();
}

KeyAnswer EditorController::list_key(ListKey key, bool shift) {
    switch (key) {
        case ListKey::up:
            if (!shift) {
                return KeyAnswer::list_handles_key;
            }
            run(Command::move_up);
            return KeyAnswer::handled;
        case ListKey::down:
            if (!shift) {
                return KeyAnswer::list_handles_key;
            }
            run(Command::move_down);
            return KeyAnswer::handled;
        case ListKey::insert:
            run(Command::insert);
            return KeyAnswer::list_handles_key;
        case ListKey::del:
            run(Command::delete_entry);
            return KeyAnswer::handled;
        case ListKey::other:
            break;
    }
    return KeyAnswer::list_handles_key;
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
    const NameRecord name = build_name_record(m_view.name_text());
    WindowMoment before = moment();
    m_history.reserve_one();
    const EditResult result = insert_named_entry(m_store, static_cast<std::size_t>(p), name);
    if (result != EditResult::done) {
        m_view.warn(message_for(result));
        return;
    }
    m_history.record(
        {EditKind::insert, static_cast<std::size_t>(p), std::move(before), {}, nullptr, nullptr});
    // The row shows the stored name, so the list always mirrors what will be saved.
    m_view.insert_row(p, widen_name(m_store.display_name(static_cast<std::size_t>(p))));
    m_view.select_row(p);
    show_entry(p);
    apply_enable_rule();
    m_history.next_undo()->after = moment();
}

int EditorController::valid_selection() const {
    const int selected = m_view.selected_row();
    return selected >= 0 && selected < static_cast<int>(m_store.count()) ? selected : -1;
}

}  // namespace tvk
