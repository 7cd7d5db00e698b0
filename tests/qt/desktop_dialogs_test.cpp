#include "desktop_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "qt_path.h"

namespace tvk {
namespace {

// Runs `answer` on the modal dialog as soon as it is up, from inside its own event loop, and again
// every little while until that dialog has closed: a file chooser may ignore an answer given while
// it still reads its folder. A dialog that never closes, or one of another kind, is closed after a
// while with a failure, so a failing test cannot hang.
template <typename Dialog>
void when_shown(std::function<void(Dialog&)> answer) {
    constexpr int kPatience = 500;  // ticks of 10 ms
    constexpr int kRetryTicks = 20;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(
        timer, &QTimer::timeout,
        [timer, answer, ticks = 0, answered = false, handled = QPointer<Dialog>()]() mutable {
            QWidget* modal = QApplication::activeModalWidget();
            const auto stop = [timer] {
                timer->stop();
                timer->deleteLater();
            };
            if (answered && (handled.isNull() || modal != handled.data())) {
                stop();
                return;
            }
            if (++ticks >= kPatience) {
                stop();
                if (modal != nullptr) {
                    ADD_FAILURE() << "a modal window that did not close: "
                                  << modal->metaObject()->className();
                    modal->close();
                }
                return;
            }
            auto* dialog = qobject_cast<Dialog*>(modal);
            if (dialog != nullptr && (!answered || ticks % kRetryTicks == 0)) {
                answered = true;
                handled = dialog;
                answer(*dialog);
            }
        });
    timer->start();
}

// What a file chooser showed before the test cancelled it.
struct ChooserSeen {
    QFileDialog::AcceptMode mode{};
    QFileDialog::FileMode file_mode{};
    bool asks_before_overwriting = true;
    QStringList filters;
    QString selected_filter;
    QStringList selected;
    QWidget* parent = nullptr;
};

class RealDialogs : public ::testing::Test {
  protected:
    ChooserSeen look_at_chooser(FileChoice choice) {
        ChooserSeen seen;
        when_shown<QFileDialog>([&](QFileDialog& dialog) {
            seen = {dialog.acceptMode(),
                    dialog.fileMode(),
                    !dialog.testOption(QFileDialog::DontConfirmOverwrite),
                    dialog.nameFilters(),
                    dialog.selectedNameFilter(),
                    dialog.selectedFiles(),
                    dialog.parentWidget()};
            dialog.reject();
        });
        EXPECT_EQ(dialogs->choose_file(&owner, choice), std::nullopt);
        return seen;
    }

    QWidget owner;
    std::unique_ptr<DesktopDialogs> dialogs = make_desktop_dialogs();
    const QStringList all{QStringLiteral("All (*)")};
    const QStringList archive{QDir::current().absoluteFilePath(QStringLiteral("TVK.DAT"))};
};

TEST_F(RealDialogs, ArchiveChoosersProposeTheArchiveInTheCurrentFolder) {
    const ChooserSeen open = look_at_chooser(FileChoice::open_archive);
    EXPECT_EQ(open.mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(open.file_mode, QFileDialog::ExistingFile);
    EXPECT_EQ(open.filters, all);
    EXPECT_EQ(open.selected, archive);
    EXPECT_EQ(open.parent, &owner);

    const ChooserSeen save = look_at_chooser(FileChoice::save_archive);
    EXPECT_EQ(save.mode, QFileDialog::AcceptSave);
    EXPECT_FALSE(save.asks_before_overwriting);
    EXPECT_EQ(save.filters, all);
    EXPECT_EQ(save.selected, archive);
}

TEST_F(RealDialogs, ImageChoosersProposeNoNameAndOfferPngFirstForExport) {
    const ChooserSeen open = look_at_chooser(FileChoice::open_image);
    EXPECT_EQ(open.file_mode, QFileDialog::ExistingFile);
    EXPECT_EQ(open.filters, all);
    EXPECT_TRUE(open.selected.isEmpty() || QFileInfo(open.selected.front()).isDir());

    const ChooserSeen save = look_at_chooser(FileChoice::save_png);
    EXPECT_EQ(save.mode, QFileDialog::AcceptSave);
    EXPECT_FALSE(save.asks_before_overwriting);
    EXPECT_EQ(save.filters,
              (QStringList{QStringLiteral("PNG (*.png)"), QStringLiteral("All (*)")}));
    EXPECT_EQ(save.selected_filter, QStringLiteral("PNG (*.png)"));
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
