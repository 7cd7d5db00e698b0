// The shortcuts, dropped files, the archive named at start and the command line reach the editor.
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>

#include "archive_file.h"
#include "dialog_layout.h"
#include "messages.h"
#include "window_fixture.h"

namespace tvk::test {
namespace {

using WindowWiring = WindowTest;

void press(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    target.setFocus();
    QTest::keyClick(&target, key, modifiers);
}

// Drags a file over the window and drops it at `place`; true when the window took the drag.
bool drop(QWidget& window, const std::filesystem::path& file, QPoint place) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
    QDragEnterEvent enter(place, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent dropped(QPointF(place), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropped);
    return dropped.isAccepted();
}

TEST_F(WindowWiring, CtrlZUndoesAndCtrlYAndCtrlShiftZRedo) {
    open_sample();
    click_row(1);
    press(list(), Qt::Key_Delete, Qt::NoModifier);
    ASSERT_EQ(rows().size(), 4u);

    press(list(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(rows()[1], QStringLiteral("Sunset Lake"));
    EXPECT_EQ(selected_row(), 1);
    press(list(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(rows().size(), 4u);
    press(list(), Qt::Key_Z, Qt::ControlModifier);
    press(list(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rows().size(), 4u);
}

TEST_F(WindowWiring, InTheNameBoxCtrlZUndoesTheTyping) {
    open_sample();
    click_row(0);
    click(kDeleteId);
    type_name(QStringLiteral("typed"));

    press(name(), Qt::Key_Z, Qt::ControlModifier);

    EXPECT_NE(name().text(), QStringLiteral("typed"));
    EXPECT_EQ(rows().size(), 4u);  // the Delete stays

    // Redo of the typing stays in the box as well.
    press(name(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(name().text(), QStringLiteral("typed"));
    EXPECT_EQ(rows().size(), 4u);
}

TEST_F(WindowWiring, CtrlOAndCtrlSAskForTheArchiveFromAnyControl) {
    for (QWidget* target : {static_cast<QWidget*>(&list()), static_cast<QWidget*>(&name())}) {
        m_dialogs.answers = {std::nullopt, std::nullopt};
        m_dialogs.asked.clear();
        press(*target, Qt::Key_O, Qt::ControlModifier);
        press(*target, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(m_dialogs.asked,
                  (std::vector<FileChoice>{FileChoice::open_archive, FileChoice::save_archive}));
    }
}

TEST_F(WindowWiring, ADroppedPictureSetsTheScreenAndADroppedArchiveOpens) {
    open_sample();
    click_row(2);
    QImage white(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    white.fill(Qt::white);
    const auto picture = temp_path("white.png");
    ASSERT_TRUE(white.save(QString::fromStdString(picture.string())));

    // Dropped on the list, which passes it to the window.
    EXPECT_TRUE(drop(m_window, picture, list().geometry().center()));
    EXPECT_EQ(screen_of(2)[0], 0xFFFFFFu);
    EXPECT_TRUE(m_dialogs.warnings.empty());

    const auto archive = temp_path("other.dat");
    {
        EntryStore store;
        ASSERT_EQ(save_archive_file(store, archive), std::error_code());
    }
    EXPECT_TRUE(drop(m_window, archive, name().geometry().center()));
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(m_dialogs.warnings.empty());
}

TEST_F(WindowWiring, TheArchiveNamedAtStartOpens) {
    const auto archive = temp_path("start.dat");
    write_sample(archive);
    m_window.open_at_start(archive);
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(m_dialogs.asked.size(), 0u);
}

TEST_F(WindowWiring, AClickOnTheSelectedRowPutsItsNameBack) {
    open_sample();
    click_row(1);
    type_name(QStringLiteral("typed"));
    click_row(1);
    EXPECT_EQ(name().text(), QStringLiteral("Sunset Lake"));
}

// The program itself, without a display: help and version need none.
TEST(EditorProgram, PrintsHelpAndVersionWithoutAWindow) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    struct Case {
        QStringList arguments;
        int status;
        QString starts_with;
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("--help")}, 0, QStringLiteral("Usage: tvk-edit [ARCHIVE]")},
        {{QStringLiteral("--version")}, 0, QStringLiteral("tvk-edit ")},
    };
    for (const Case& c : cases) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TVK_EDIT_PROGRAM), c.arguments);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitCode(), c.status);
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).startsWith(c.starts_with))
            << c.arguments.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace tvk::test
