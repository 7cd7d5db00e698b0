#pragma once

#include <QIcon>
#include <QWidget>
#include <filesystem>
#include <map>
#include <memory>

#include "desktop_dialogs.h"
#include "dialog_layout.h"
#include "editor_controller.h"
#include "entry_list.h"
#include "image_files.h"
#include "preview_widget.h"
#include "qt_editor_view.h"

class QLineEdit;

namespace tvk {

// The editor's one window: a fixed-size top-level window laid out like the dialog template, its
// controls created in tab order. Every user action goes straight to the EditorController.
class MainWindow : public QWidget {
  public:
    MainWindow(ImageFiles& images, DesktopDialogs& dialogs);
    ~MainWindow() override;

    // The control with this id in the layout (the credit line is kCreditId).
    QWidget* control(int id) const { return m_controls.at(id); }
    PreviewWidget& preview() { return *m_preview; }
    const EditorController& controller() const { return *m_controller; }

    // The archive named on the command line, opened as Open TVK would open it.
    void open_at_start(const std::filesystem::path& file);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* make_control(const ControlLayout& layout);
    void connect_commands();

    std::map<int, QWidget*> m_controls;
    EntryList* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    PreviewWidget* m_preview = nullptr;
    std::unique_ptr<QtEditorView> m_view;
    std::unique_ptr<EditorController> m_controller;
};

// The window icon in every size drawn for it.
QIcon window_icon();

}  // namespace tvk
