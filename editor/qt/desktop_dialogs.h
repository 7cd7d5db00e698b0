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

// A file chooser's type list as QFileDialog takes it, "All (*)" and the like.
QStringList name_filters(FileChoice choice);

// QFileDialog and QMessageBox. The choosers open in the folder of the file chosen last in this run,
// at first in the current folder.
std::unique_ptr<DesktopDialogs> make_desktop_dialogs();

}  // namespace tvk
