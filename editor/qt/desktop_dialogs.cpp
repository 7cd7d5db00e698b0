#include "desktop_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "file_choosers.h"
#include "messages.h"
#include "qt_path.h"
#include "qt_text.h"

namespace tvk {
namespace {

class QtDesktopDialogs final : public DesktopDialogs {
  public:
    std::optional<std::filesystem::path> choose_file(QWidget* owner, FileChoice choice) override {
        const ChooserSetup& setup = chooser_setup(choice);
        const QStringList filters = name_filters(choice);
        QFileDialog dialog(owner);
        dialog.setAcceptMode(setup.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(setup.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // A save replaces an existing file without asking, and keeps the name exactly as typed.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QString());
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
        dialog.setDirectory(m_folder.isEmpty() ? QDir::currentPath() : m_folder);
        dialog.selectFile(qt_text(setup.proposed));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const QString chosen = dialog.selectedFiles().front();
        m_folder = QFileInfo(chosen).absolutePath();
        return std_path(chosen);
    }

    void warn(QWidget* owner, const QString& message) override {
        QMessageBox box(QMessageBox::Warning, qt_text(kMessageTitle), message, QMessageBox::Ok,
                        owner);
        box.exec();
    }

  private:
    QString m_folder;
};

}  // namespace

QStringList name_filters(FileChoice choice) {
    const ChooserSetup& setup = chooser_setup(choice);
    QStringList filters;
    for (std::size_t i = 0; i < setup.filter_count; ++i) {
        const FileFilter& filter = setup.filters[i];
        filters.append(
            QStringLiteral("%1 (%2)").arg(qt_text(filter.description), qt_text(filter.pattern)));
    }
    return filters;
}

std::unique_ptr<DesktopDialogs> make_desktop_dialogs() {
    return std::make_unique<QtDesktopDialogs>();
}

}  // namespace tvk
