// The window translates: controls in place and in tab order; every button, key and click reaching
// the editor; the real file choosers and warning box; the archive named at start; the preview.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "builders.h"
#include "main_window.h"
#include "picture_bytes.h"
#include "platform_image_files.h"
#include "preview_widget.h"
#include "qt_path.h"
#include "temp_folder.h"

namespace tvk::test {

// A window on entries A, B and C. Each modal window it opens is noted and answered as soon as it
// is up: a warning box with OK, a chooser cancelled or given the file `pick`. A box shows its
// title, text, icon and buttons; a chooser its accept and file modes ("01" open an existing file,
// "10" save any), whether it asks before overwriting, the filter selected of its filters, the name
// proposed and its folder (F the test's, . the current one).
class Window : public ::testing::Test {
  protected:
    Window() {
        QObject::connect(&answering, &QTimer::timeout, [this] { answer(); });
        answering.start(10);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen += QString::asprintf("%s: %s %d %d ", qPrintable(box->windowTitle()),
                                      qPrintable(box->text()), box->icon(),
                                      box->standardButtons().toInt());
            box->accept();
        } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
            const QString folder_shown = chooser->directory()
                                             .path()
                                             .replace(QDir::currentPath(), ".")
                                             .replace(QString::fromStdString(folder.path()), "F");
            seen += QString::asprintf(
                "%d%d %d %s of %s '%s' %s ", chooser->acceptMode(), chooser->fileMode(),
                !chooser->testOption(QFileDialog::DontConfirmOverwrite),
                qPrintable(chooser->selectedNameFilter()),
                qPrintable(chooser->nameFilters().join(';')),
                qPrintable(chooser->findChild<QLineEdit*>("fileNameEdit")->text()),
                qPrintable(folder_shown));
            if (pick.isEmpty()) {
                chooser->reject();
            } else {  // the name typed in, as a user would
                chooser->findChild<QLineEdit*>("fileNameEdit")->setText(pick);
                static_cast<QDialog*>(chooser)->accept();
            }
        }
        seen += modal == nullptr || modal->parentWidget() == &window ? "" : "unowned ";
    }

    // Opened as named at start, the middle row clicked, a name typed (stored as "N": U+4E00 ends
    // it).
    void start() {
        write_archive(folder / "a.dat", {{"A", solid_grid(0x110000)},
                                         {"B", solid_grid(0x220000)},
                                         {"C", solid_grid(0x330000)}});
        window.activateWindow();  // again, after a modal window: shortcuts need it active
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.open_at_start(folder / "a.dat");
        row(1);
        name()->setText(QStringLiteral("N\u4e00x"));
        seen.clear();
    }
    QListWidget* list() { return static_cast<QListWidget*>(window.control(kListId)); }
    QLineEdit* name() { return static_cast<QLineEdit*>(window.control(kNameId)); }
    void click(int id) { QTest::mouseClick(window.control(id), Qt::LeftButton); }
    void key(QWidget* target, const char* keys) {
        const QKeyCombination pressed = QKeySequence(keys)[0];
        target->setFocus();
        QTest::keyClick(target, pressed.key(), pressed.keyboardModifiers());
    }
    void row(int row, Qt::KeyboardModifiers keys = {}) {  // row -1 is below the rows
        const QRect place =
            row < 0 ? QRect(0, 290, 9, 9) : list()->visualItemRect(list()->item(row));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, keys, place.center());
    }
    // Rows (* selected)|name box|blue painted in the preview|entries held|noted
    std::string state() {
        QString rows;
        for (int i = 0; i < list()->count(); ++i) {
            rows += list()->item(i)->text() + (list()->item(i)->isSelected() ? "*," : ",");
        }
        const QRgb shown = window.grab(window.preview().geometry()).toImage().pixel(60, 56);
        return QString::asprintf("%s|%s|%d|%zu|%s", qPrintable(rows), qPrintable(name()->text()),
                                 qBlue(shown), window.controller().store().count(),
                                 qPrintable(seen))
            .toStdString();
    }
    // A control's place and text.
    static std::string seen_at(const QWidget* at) {
        return QString::asprintf("%d,%d %dx%d %s", at->x(), at->y(), at->width(), at->height(),
                                 qPrintable(at->property("text").toString()))
            .toStdString();
    }
    // Each control Tab visits from the list, round to the list again.
    std::vector<std::string> tab_order() {
        std::vector<std::string> visited;
        list()->setFocus();
        do {
            visited.push_back(seen_at(QApplication::focusWidget()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        } while (QApplication::focusWidget() != list() && visited.size() < 20);
        return visited;
    }

    TempFolder folder;
    QString seen, pick;
    QTimer answering;
    std::unique_ptr<ImageFiles> images = make_platform_image_files();
    std::unique_ptr<DesktopDialogs> dialogs = make_desktop_dialogs();
    MainWindow window{*images, *dialogs};
};

// Places: dialog units times 6 / 4 across and 13 / 8 down, each number rounded on its own. The six
// buttons that need a selection are skipped while they are disabled.
TEST_F(Window, ControlsInTabOrderWithTheirPlacesAndTexts) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("TVK_Edit"));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(name()->maxLength(), 56);
    EXPECT_EQ(seen_at(&window.preview()), "400,157 120x112 ");
    EXPECT_EQ(seen_at(window.control(kCreditId)), "369,310 177x15 Free screen archive editor");
    const std::string mail =
        "404,325 99x13 <a href=\"mailto:tvk-edit@users.invalid\">Write to us</a>";
    const std::string web = "417,341 72x16 <a href=\"https://tvk-edit.invalid/\">Home page</a>";
    EXPECT_EQ(tab_order(),
              (std::vector<std::string>{
                  "11,11 348x346 ", "369,11 84x26 Open TVK", "461,11 86x26 Save TVK",
                  "369,41 177x20 ", "461,67 86x26 Add", "461,280 86x26 Save Screen", mail, web}));
    start();
    EXPECT_EQ(tab_order(),
              (std::vector<std::string>{
                  "11,11 348x346 ", "369,11 84x26 Open TVK", "461,11 86x26 Save TVK",
                  "369,41 177x20 N\u4e00x", "369,67 84x26 Rename", "461,67 86x26 Add",
                  "369,96 84x26 Insert", "461,96 86x26 Delete", "369,125 84x26 Move Up",
                  "461,125 86x26 Move Down", "368,280 84x26 Set Screen",
                  "461,280 86x26 Save Screen", mail, web}));
}

TEST_F(Window, EveryButtonKeyAndClickReachesTheEditor) {
    write_file(folder / "wide.png", png_of(solid_picture(121, 112, 0xFF000000)));
    write_file(folder / "caf\xC3\xA9.png", png_of(solid_picture(120, 112, 0xFFFFFFFF)));
    const std::string same = "A,B*,C,|N\u4e00x|34|3|", archive = " All (*) of All (*) 'TVK.DAT' ";
    const std::string open_archive = "01 0" + archive + ". ",
                      save_archive = "10 0" + archive + ". ";
    const std::string open_image = "01 0 All (*) of All (*) '' . ";
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { click(kOpenId); }, same + open_archive},
        {[&] { click(kSaveId); }, same + save_archive},
        {[&] { click(kRenameId); }, "A,N*,C,|N\u4e00x|34|3|"},
        {[&] { click(kAddId); }, "A,B,C,N*,|N|0|4|"},
        {[&] { click(kInsertId); }, "A,N*,B,C,|N|0|4|"},
        {[&] { click(kDeleteId); }, "A,C*,|C|51|2|"},
        {[&] { click(kMoveUpId); }, "B*,A,C,|B|34|3|"},
        {[&] { click(kMoveDownId); }, "A,C,B*,|B|34|3|"},
        {[&] { click(kSetScreenId); }, same + open_image},
        {[&] { click(kSaveScreenId); }, same + "10 0 PNG (*.png) of PNG (*.png);All (*) '' . "},
        {[&] { key(list(), "Ctrl+O"); }, same + open_archive},
        {[&] { key(name(), "Ctrl+S"); }, same + save_archive},
        {[&] { key(list(), "Down"); }, "A,B,C*,|C|51|3|"},
        {[&] { key(list(), "Shift+Up"); }, "B*,A,C,|B|34|3|"},
        {[&] { key(list(), "Shift+Down"); }, "A,C,B*,|B|34|3|"},
        {[&] { key(list(), "Ins"); }, "A,N*,B,C,|N|0|4|"},
        {[&] { key(list(), "Del"); }, "A,C*,|C|51|2|"},
        {[&] { click(kDeleteId), key(list(), "Ctrl+Z"); }, same},
        {[&] { click(kDeleteId), key(list(), "Ctrl+Z"), key(list(), "Ctrl+Y"); }, "A,C*,|C|51|2|"},
        {[&] { click(kDeleteId), key(list(), "Ctrl+Z"), key(list(), "Ctrl+Shift+Z"); },
         "A,C*,|C|51|2|"},
        // In the name box Ctrl+Z undoes the typing, not the Delete.
        {[&] { click(kDeleteId), key(name(), "T"), key(name(), "Ctrl+Z"); }, "A,C*,|C|51|2|"},
        {[&] { row(1); }, "A,B*,C,|B|34|3|"},  // a click on the selected row shows it again
        {[&] { row(1, Qt::ControlModifier), row(-1); }, "A,B*,C,|B|34|3|"},
        // A picture chosen is read by its name; the next chooser opens in its folder.
        {[&] { pick = qt_path(folder / "wide.png"), click(kSetScreenId); },
         same + open_image + "Error: Image width must be 120 2 1024 "},
        {[&] { pick = qt_path(folder / "caf\xC3\xA9.png"), click(kSetScreenId); },
         "A,B*,C,|B|255|3|01 0 All (*) of All (*) '' F "},
        {[&] { window.close(); }, "A,B*,C,|N\u4e00x|34|0|"},
    };
    for (const auto& [act, expected] : cases) {
        SCOPED_TRACE(expected);
        start();
        act();
        EXPECT_EQ(state(), expected);
    }
}

// At any scale each screen pixel is a block of whole device pixels, centred in the preview's box:
// device pixels per logical pixel; the device pixel looked at; the screen pixel seen there, or
// none (-1, the box as it was). At 1.5 the box is 180 x 168 device pixels.
TEST(PreviewWidget, DrawsWholeDevicePixelsCentredInItsBox) {
    const PixelGrid grid =
        make_grid([](int x, int y) { return ColourValue(x | y << 8 | 1 << 16); });
    PreviewWidget preview(nullptr);
    preview.show_grid(grid);
    const std::vector<std::tuple<qreal, int, int, int, int>> cases = {
        {2, 1, 1, 0, 0},        {2, 239, 223, 119, 111},   {2, 75, 162, 37, 81},
        {1.5, 30, 28, 0, 0},    {1.5, 149, 139, 119, 111}, {1.5, 29, 28, -1, 0},
        {1.5, 150, 139, -1, 0}, {1.5, 30, 27, -1, 0},      {1.1, 6, 5, 0, 0},
        {1.1, 6, 4, -1, 0},     {1.5, 149, 140, -1, 0}};
    for (const auto& [ratio, x, y, screen_x, screen_y] : cases) {
        QImage image(static_cast<int>(120 * ratio), static_cast<int>(112 * ratio),
                     QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(0);
        QPainter painter(&image);
        PreviewWidget::draw_scaled(painter, preview.image(), ratio);
        painter.end();
        EXPECT_EQ(image.pixel(x, y),
                  screen_x < 0 ? 0xFF000000u : 0xFF000001u | screen_x << 16 | screen_y << 8)
            << ratio << " at " << x << ", " << y;
    }
}

}  // namespace tvk::test
