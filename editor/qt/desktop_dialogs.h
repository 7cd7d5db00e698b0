#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>

#include "editor_view.h"

class QWidget;

namespace tvk {

// The modal dialogs of the window: file choosers and warning boxes. Tests answer them in place of
// the user.
class DesktopDialogs {
  public:
    virtual ~DesktopDialogs() = default;
    // nullopt when the user cancelled.
    virtual std::optional<std::filesystem::path> choose_file(QWidget* owner, FileChoice choice) = 0;
    // A box titled "Error" with the warning icon and one OK button, owned by `owner`.
    virtual void warn(QWidget* owner, const QString& message) = 0;
};

// How each file chooser is set up.
struct ChooserSetup {
    bool save;            // a save chooser: any name, no overwrite question
    QStringList filters;  // the first one is selected
    QString proposed;     // file name proposed in the current folder; empty for none
};
ChooserSetup chooser_setup(FileChoice choice);

// QFileDialog and QMessageBox.
std::unique_ptr<DesktopDialogs> make_desktop_dialogs();

}  // namespace tvk
