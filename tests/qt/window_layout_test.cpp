#include <QApplication>
#include <QLabel>
#include <QTest>
#include <array>

#include "about.h"
#include "dialog_layout.h"
#include "window_fixture.h"

namespace tvk::test {
namespace {

using WindowLayout = WindowTest;

TEST_F(WindowLayout, FixedSizeWindowWithCaptionCloseAndMinimizeButNoMaximize) {
    EXPECT_EQ(m_window.windowTitle(), QStringLiteral("TVK_Edit"));
    EXPECT_EQ(m_window.size(), QSize(557, 369));
    EXPECT_EQ(m_window.minimumSize(), m_window.maximumSize());
    const Qt::WindowFlags flags = m_window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QList<QSize> icon_sizes = m_window.windowIcon().availableSizes();
    for (const int size : {16, 32, 48}) {
        EXPECT_TRUE(icon_sizes.contains(QSize(size, size))) << size;
    }
}

TEST_F(WindowLayout, ControlsSitWhereTheirDialogUnitsPutThem) {
    struct Place {
        int id;
        QRect pixels;
    };
    // Worked out by hand: x * 6 / 4 and y * 13 / 8, each number rounded on its own.
    const std::array<Place, 15> places = {{
        {kListId, {11, 11, 348, 346}},
        {kOpenId, {369, 11, 84, 26}},
        {kSaveId, {461, 11, 86, 26}},
        {kNameId, {369, 41, 177, 20}},
        {kRenameId, {369, 67, 84, 26}},
        {kAddId, {461, 67, 86, 26}},
        {kInsertId, {369, 96, 84, 26}},
        {kDeleteId, {461, 96, 86, 26}},
        {kMoveUpId, {369, 125, 84, 26}},
        {kMoveDownId, {461, 125, 86, 26}},
        {kSetScreenId, {368, 280, 84, 26}},
        {kSaveScreenId, {461, 280, 86, 26}},
        {kCreditId, {369, 310, 177, 15}},
        {kMailLinkId, {404, 325, 99, 13}},
        {kWebLinkId, {417, 341, 72, 16}},
    }};
    for (const Place& place : places) {
        EXPECT_EQ(m_window.control(place.id)->geometry(), place.pixels) << place.id;
    }
    EXPECT_EQ(m_window.preview().geometry(), QRect(400, 157, 120, 112));
}

TEST_F(WindowLayout, TextsAndTheStateAtStart) {
    for (const ControlLayout& layout : kControls) {
        if (layout.kind == ControlKind::button) {
            EXPECT_EQ(button(layout.id).text().toStdString(), layout.text);
        }
    }
    EXPECT_EQ(button(kSaveScreenId).text(), QStringLiteral("Save Screen"));
    const auto label_text = [this](int id) {
        return static_cast<QLabel*>(m_window.control(id))->text();
    };
    EXPECT_EQ(label_text(kCreditId).toStdString(), kCreditLine);
    EXPECT_TRUE(label_text(kMailLinkId).contains(QString::fromUtf8(kMailLinkText.data())));
    EXPECT_TRUE(label_text(kWebLinkId).contains(QString::fromUtf8(kWebLinkText.data())));

    EXPECT_EQ(list().count(), 0);
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(name().text(), QString());
    EXPECT_EQ(name().maxLength(), 56);
    for (const int id : kSelectionButtons) {
        EXPECT_FALSE(button(id).isEnabled()) << id;
    }
    for (const int id : {kOpenId, kSaveId, kAddId, kSaveScreenId, kNameId, kListId}) {
        EXPECT_TRUE(m_window.control(id)->isEnabled()) << id;
    }
    EXPECT_EQ(list().selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(list().isSortingEnabled());
}

TEST_F(WindowLayout, TabVisitsTheControlsInTemplateOrder) {
    open_sample();
    click_row(0);  // every button enabled
    list().setFocus();
    std::vector<int> visited;
    for (int step = 0; step < 14; ++step) {
        QWidget* focus = QApplication::focusWidget();
        for (const ControlLayout& layout : kControls) {
            if (m_window.control(layout.id) == focus) {
                visited.push_back(layout.id);
            }
        }
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    const std::vector<int> expected = {
        kListId,   kOpenId,   kSaveId,     kNameId,      kRenameId,     kAddId,      kInsertId,
        kDeleteId, kMoveUpId, kMoveDownId, kSetScreenId, kSaveScreenId, kMailLinkId, kWebLinkId};
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(QApplication::focusWidget(), &list());  // and round again
}

}  // namespace
}  // namespace tvk::test
