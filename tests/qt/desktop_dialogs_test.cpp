#include "desktop_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "qt_path.h"

namespace tvk {
namespace {

// Runs `answer` on the modal dialog as soon as it is up, from inside its own event loop. A dialog
// of another kind is closed after a while, so a failing test cannot hang.
template <typename Dialog>
void when_shown(std::function<void(Dialog&)> answer) {
    constexpr int kPatience = 500;  // ticks of 10 ms
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, ticks = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (dialog == nullptr && ++ticks < kPatience) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (dialog != nullptr) {
            answer(*dialog);
        } else if (modal != nullptr) {
            ADD_FAILURE() << "an unexpected modal window: " << modal->metaObject()->className();
            modal->close();
        }
    });
    timer->start();
}

class RealDialogs : public ::testing::Test {
  protected:
    QWidget owner;
    std::unique_ptr<DesktopDialogs> dialogs = make_desktop_dialogs();
};

TEST_F(RealDialogs, OpenArchiveProposesTheArchiveNameInTheCurrentFolder) {
    QFileDialog::AcceptMode mode{};
    QFileDialog::FileMode file_mode{};
    QStringList filters, selected;
    QWidget* parent = nullptr;
    when_shown<QFileDialog>([&](QFileDialog& dialog) {
        mode = dialog.acceptMode();
        file_mode = dialog.fileMode();
        filters = dialog.nameFilters();
        selected = dialog.selectedFiles();
        parent = dialog.parentWidget();
        dialog.reject();
    });
    EXPECT_EQ(dialogs->choose_file(&owner, FileChoice::open_archive), std::nullopt);
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(file_mode, QFileDialog::ExistingFile);
    EXPECT_EQ(filters, QStringList{QStringLiteral("All (*)")});
    EXPECT_EQ(selected, QStringList{QDir::current().absoluteFilePath(QStringLiteral("TVK.DAT"))});
    EXPECT_EQ(parent, &owner);
}

TEST_F(RealDialogs, SaveArchiveAsksNoOverwriteQuestion) {
    bool confirm = true;
    QFileDialog::AcceptMode mode{};
    QStringList selected;
    when_shown<QFileDialog>([&](QFileDialog& dialog) {
        confirm = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
        mode = dialog.acceptMode();
        selected = dialog.selectedFiles();
        dialog.reject();
    });
    EXPECT_EQ(dialogs->choose_file(&owner, FileChoice::save_archive), std::nullopt);
    EXPECT_FALSE(confirm);
    EXPECT_EQ(mode, QFileDialog::AcceptSave);
    EXPECT_EQ(selected, QStringList{QDir::current().absoluteFilePath(QStringLiteral("TVK.DAT"))});
}

TEST_F(RealDialogs, SaveScreenOffersPngFirstAndKeepsTheNameAsTyped) {
    QStringList filters;
    QString selected_filter;
    const QString typed = QDir::temp().absoluteFilePath(QStringLiteral("screen without extension"));
    when_shown<QFileDialog>([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        selected_filter = dialog.selectedNameFilter();
        dialog.selectFile(typed);
        static_cast<QDialog&>(dialog).accept();  // as the Save button does
    });
    EXPECT_EQ(dialogs->choose_file(&owner, FileChoice::save_png), std_path(typed));
    EXPECT_EQ(filters, (QStringList{QStringLiteral("PNG (*.png)"), QStringLiteral("All (*)")}));
    EXPECT_EQ(selected_filter, QStringLiteral("PNG (*.png)"));
}

TEST_F(RealDialogs, OpenImageProposesNoName) {
    QFileDialog::FileMode file_mode{};
    QStringList filters;
    QStringList selected;
    when_shown<QFileDialog>([&](QFileDialog& dialog) {
        file_mode = dialog.fileMode();
        filters = dialog.nameFilters();
        selected = dialog.selectedFiles();
        dialog.reject();
    });
    EXPECT_EQ(dialogs->choose_file(&owner, FileChoice::open_image), std::nullopt);
    EXPECT_EQ(file_mode, QFileDialog::ExistingFile);
    EXPECT_EQ(filters, QStringList{QStringLiteral("All (*)")});
    EXPECT_TRUE(selected.isEmpty() || QFileInfo(selected.front()).isDir());
}

TEST_F(RealDialogs, WarningIsAnErrorBoxWithOneOkButton) {
    QString title, text;
    QMessageBox::Icon icon{};
    QMessageBox::StandardButtons buttons{};
    QWidget* parent = nullptr;
    when_shown<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.standardButtons();
        parent = box.parentWidget();
        box.accept();
    });
    dialogs->warn(&owner, QStringLiteral("It's not TVK.DAT"));
    EXPECT_EQ(title, QStringLiteral("Error"));
    EXPECT_EQ(text, QStringLiteral("It's not TVK.DAT"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(parent, &owner);
}

}  // namespace
}  // namespace tvk
