// The recording view must keep its selection as the Windows list box does, or the editor's tests
// would prove nothing about the real window.
#include "recording_view.h"

#include <gtest/gtest.h>

namespace tvk::test {
namespace {

RecordingView view_with_rows(int selected) {
    RecordingView view;
    for (const char16_t* text : {u"a", u"b", u"c"}) {
        view.add_row(text);
    }
    view.select_row(selected);
    return view;
}

TEST(RecordingView, DeletingTheSelectedRowLeavesNoSelection) {
    RecordingView view = view_with_rows(1);
    view.delete_row(1);
    EXPECT_EQ(view.selected_row(), -1);
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"a", u"c"}));
}

TEST(RecordingView, TheSelectionStaysWithItsRow) {
    RecordingView view = view_with_rows(1);
    view.delete_row(0);
    EXPECT_EQ(view.selected_row(), 0);
    view.insert_row(0, u"new");
    EXPECT_EQ(view.selected_row(), 1);
    view.insert_row(2, u"after");
    view.delete_row(3);
    view.add_row(u"end");
    EXPECT_EQ(view.selected_row(), 1);
    EXPECT_EQ(view.row_text(1), u"b");
    EXPECT_TRUE(view.misuses.empty());
}

TEST(RecordingView, RowsThatDoNotExistAreNotedAndChangeNothing) {
    RecordingView view = view_with_rows(2);
    view.delete_row(3);
    view.insert_row(4, u"x");
    EXPECT_EQ(view.row_text(-1), u"");
    EXPECT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.selected_row(), 2);
    view.select_row(3);
    EXPECT_EQ(view.selected_row(), -1);
    EXPECT_EQ(view.misuses.size(), 4u);
}

}  // namespace
}  // namespace tvk::test
