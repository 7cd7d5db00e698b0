#include "qt_editor_view.h"

#include <QSignalBlocker>

#include "qt_text.h"

namespace tvk {

QtEditorView::QtEditorView(QWidget& window, QListWidget& list, QLineEdit& name,
                           std::vector<QWidget*> selection_buttons, PreviewWidget& preview,
                           DesktopDialogs& dialogs)
    : m_window(window),
      m_list(list),
      m_name(name),
      m_selection_buttons(std::move(selection_buttons)),
      m_preview(preview),
      m_dialogs(dialogs) {}

int QtEditorView::row_count() const {
    return m_list.count();
}

std::u16string QtEditorView::row_text(int row) const {
    return m_list.item(row)->text().toStdU16String();
}

void QtEditorView::add_row(const std::u16string& text) {
    const QSignalBlocker quiet(m_list);
    m_list.addItem(QString::fromStdU16String(text));
}

void QtEditorView::insert_row(int row, const std::u16string& text) {
    const QSignalBlocker quiet(m_list);
    m_list.insertItem(row, QString::fromStdU16String(text));
}

void QtEditorView::delete_row(int row) {
    const QSignalBlocker quiet(m_list);
    // Qt would select a neighbour of a removed selected row; a list box is left with no selection.
    const bool was_selected = selected_row() == row;
    delete m_list.takeItem(row);
    if (was_selected) {
        m_list.setCurrentRow(-1);
    }
}

// The selected row, not the current one: Qt may keep a current row that is not selected.
int QtEditorView::selected_row() const {
    const QModelIndexList rows = m_list.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void QtEditorView::select_row(int row) {
    const QSignalBlocker quiet(m_list);
    m_list.setCurrentRow(row);
}

std::u16string QtEditorView::name_text() const {
    return m_name.text().toStdU16String();
}

void QtEditorView::set_name_text(const std::u16string& text) {
    m_name.setText(QString::fromStdU16String(text));
}

void QtEditorView::enable_selection_buttons(bool enabled) {
    for (QWidget* button : m_selection_buttons) {
        button->setEnabled(enabled);
    }
}

void QtEditorView::show_preview(const PixelGrid& grid) {
    m_preview.show_grid(grid);
}

void QtEditorView::warn(std::string_view message) {
    m_dialogs.warn(&m_window, qt_text(message));
}

std::optional<std::filesystem::path> QtEditorView::choose_file(FileChoice choice) {
    return m_dialogs.choose_file(&m_window, choice);
}

}  // namespace tvk
