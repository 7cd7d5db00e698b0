#include "desktop_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "messages.h"
#include "qt_path.h"
#include "qt_text.h"

namespace tvk {
namespace {

const QString kAllFiles = QStringLiteral("All (*)");
const QString kPngFiles = QStringLiteral("PNG (*.png)");

class QtDesktopDialogs final : public DesktopDialogs {
  public:
    std::optional<std::filesystem::path> choose_file(QWidget* owner, FileChoice choice) override {
        const ChooserSetup setup = chooser_setup(choice);
        QFileDialog dialog(owner);
        dialog.setAcceptMode(setup.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(setup.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // A save replaces an existing file without asking, and keeps the name exactly as typed.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QString());
        dialog.setNameFilters(setup.filters);
        dialog.selectNameFilter(setup.filters.front());
        dialog.setDirectory(QDir::current());
        dialog.selectFile(setup.proposed);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return std_path(dialog.selectedFiles().front());
    }

    void warn(QWidget* owner, const QString& message) override {
        QMessageBox box(QMessageBox::Warning, qt_text(kMessageTitle), message, QMessageBox::Ok,
                        owner);
        box.exec();
    }
};

}  // namespace

ChooserSetup chooser_setup(FileChoice choice) {
    const QString archive_name = qt_text(kDefaultArchiveName);
    switch (choice) {
        case FileChoice::open_archive:
            return {false, {kAllFiles}, archive_name};
        case FileChoice::save_archive:
            return {true, {kAllFiles}, archive_name};
        case FileChoice::open_image:
            return {false, {kAllFiles}, QString()};
        case FileChoice::save_png:
            return {true, {kPngFiles, kAllFiles}, QString()};
    }
    return {false, {kAllFiles}, QString()};
}

std::unique_ptr<DesktopDialogs> make_desktop_dialogs() {
    return std::make_unique<QtDesktopDialogs>();
}

}  // namespace tvk
