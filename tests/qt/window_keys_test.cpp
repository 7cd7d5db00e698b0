#include <QTest>

#include "dialog_layout.h"
#include "window_fixture.h"

namespace tvk::test {
namespace {

using WindowKeys = WindowTest;

TEST_F(WindowKeys, UpAndDownMoveTheSelectionAndShowTheEntry) {
    open_sample();
    click_row(0);
    key(Qt::Key_Down);
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(name().text(), QStringLiteral("Sunset Lake"));
    EXPECT_EQ(m_window.controller().pixel_grid(), screen_of(1));
    key(Qt::Key_Up);
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(name().text(), QStringLiteral("Title Card"));
}

TEST_F(WindowKeys, ShiftUpAndDownMoveTheEntryAndTheSelectionOnce) {
    open_sample();
    click_row(2);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(rows()[1], QStringLiteral("Checker Floor"));
    EXPECT_EQ(selected_row(), 1);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(rows()[2], QStringLiteral("Checker Floor"));
    EXPECT_EQ(selected_row(), 2);

    const std::vector<QString> before = rows();
    click_row(0);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(selected_row(), 0);
    click_row(4);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selected_row(), 4);
    EXPECT_EQ(rows(), before);
}

TEST_F(WindowKeys, InsertAndDeleteKeys) {
    open_sample();
    key(Qt::Key_Delete);  // nothing selected: nothing happens
    key(Qt::Key_Insert);
    EXPECT_EQ(rows().size(), 5u);

    click_row(2);
    type_name(QStringLiteral("Keyed"));
    key(Qt::Key_Insert);
    ASSERT_EQ(rows().size(), 6u);
    EXPECT_EQ(rows()[2], QStringLiteral("Keyed"));
    EXPECT_EQ(selected_row(), 2);

    key(Qt::Key_Delete);
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(rows()[2], QStringLiteral("Checker Floor"));
    EXPECT_EQ(selected_row(), 2);
    EXPECT_EQ(name().text(), QStringLiteral("Checker Floor"));
}

TEST_F(WindowKeys, EscapeAndEnterNeitherCloseTheWindowNorRunACommand) {
    open_sample();
    click_row(1);
    type_name(QStringLiteral("typed"));
    for (QWidget* target : {static_cast<QWidget*>(&list()), static_cast<QWidget*>(&name()),
                            static_cast<QWidget*>(&m_window)}) {
        for (const Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            target->setFocus();
            QTest::keyClick(target, k);
        }
    }
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_EQ(rows()[1], QStringLiteral("Sunset Lake"));
    EXPECT_EQ(rows().size(), 5u);
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(name().text(), QStringLiteral("typed"));
    EXPECT_EQ(m_dialogs.asked.size(), 1u);  // the Open of the sample only
    EXPECT_TRUE(m_dialogs.warnings.empty());
}

}  // namespace
}  // namespace tvk::test
