#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <vector>

#include "desktop_dialogs.h"
#include "editor_view.h"
#include "preview_widget.h"

namespace tvk {

// The editor's view over the window's widgets. Rows changed or selected here never reach the
// editor as the user's selection change: the list's signals are blocked while the program acts.
class QtEditorView final : public EditorView {
  public:
    QtEditorView(QWidget& window, QListWidget& list, QLineEdit& name,
                 std::vector<QWidget*> selection_buttons, PreviewWidget& preview,
                 DesktopDialogs& dialogs);

    int row_count() const override;
    std::u16string row_text(int row) const override;
    void add_row(const std::u16string& text) override;
    void insert_row(int row, const std::u16string& text) override;
    void delete_row(int row) override;
    int selected_row() const override;
    void select_row(int row) override;

    std::u16string name_text() const override;
    void set_name_text(const std::u16string& text) override;

    void enable_selection_buttons(bool enabled) override;
    void show_preview(const PixelGrid& grid) override;
    void warn(std::string_view message) override;
    std::optional<std::filesystem::path> choose_file(FileChoice choice) override;

  private:
    QWidget& m_window;
    QListWidget& m_list;
    QLineEdit& m_name;
    std::vector<QWidget*> m_selection_buttons;
    PreviewWidget& m_preview;
    DesktopDialogs& m_dialogs;
};

}  // namespace tvk
