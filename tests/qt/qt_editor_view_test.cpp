#include "qt_editor_view.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "entry_list.h"
#include "window_fixture.h"

namespace tvk {
namespace {

// The view over loose widgets, to watch the list's signals while the program acts.
class ViewTest : public ::testing::Test {
  protected:
    ViewTest() {
        for (const char16_t* text : {u"zero", u"one", u"two"}) {
            view.add_row(text);
        }
    }

    QWidget window;
    EntryList list{&window};
    QLineEdit name{&window};
    QPushButton first{&window};
    QPushButton second{&window};
    PreviewWidget preview{&window};
    test::ScriptedDialogs dialogs;
    QtEditorView view{window, list, name, {&first, &second}, preview, dialogs};
    QSignalSpy user_changes{&list, &QListWidget::itemSelectionChanged};
};

TEST_F(ViewTest, RowsChangedByTheProgramAreNeverTheUsersSelectionChange) {
    view.select_row(1);
    EXPECT_EQ(view.selected_row(), 1);
    view.insert_row(0, u"new");
    EXPECT_EQ(view.selected_row(), 2);  // the selection stays on its row
    view.delete_row(2);
    EXPECT_EQ(view.selected_row(), -1);  // deleting the selected row leaves none
    view.select_row(0);
    view.select_row(-1);
    EXPECT_EQ(view.selected_row(), -1);
    EXPECT_EQ(user_changes.count(), 0);

    // The same list still reports what the user does.
    list.setCurrentRow(1);
    EXPECT_EQ(user_changes.count(), 1);
}

TEST_F(ViewTest, WarningsAndChoosersAreOwnedByTheWindow) {
    dialogs.answers.push_back(std::filesystem::path("/tmp/x.png"));
    EXPECT_EQ(view.choose_file(FileChoice::save_png), std::filesystem::path("/tmp/x.png"));
    view.warn("Image width must be 120");
    EXPECT_EQ(dialogs.asked, std::vector<FileChoice>{FileChoice::save_png});
    EXPECT_EQ(dialogs.warnings, std::vector<QString>{QStringLiteral("Image width must be 120")});
    EXPECT_EQ(dialogs.owners, (std::vector<QWidget*>{&window, &window}));
}

TEST_F(ViewTest, TheUserCanMoveTheSelectionButNotClearIt) {
    window.resize(300, 300);
    list.setGeometry(0, 0, 200, 200);
    window.show();
    const QRect row_one = list.visualItemRect(list.item(1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, row_one.center());
    EXPECT_EQ(view.selected_row(), 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, row_one.center());
    EXPECT_EQ(view.selected_row(), 1);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 190));
    EXPECT_EQ(view.selected_row(), 1);
}

}  // namespace
}  // namespace tvk
