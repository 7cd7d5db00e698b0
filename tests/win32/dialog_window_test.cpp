#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "dialog_layout.h"
#include "preview_place.h"

namespace tvk::test {
namespace {

const wchar_t* class_of(ControlKind kind) {
    switch (kind) {
        case ControlKind::list:
            return L"listbox";
        case ControlKind::button:
            return L"button";
        case ControlKind::edit:
            return L"edit";
        case ControlKind::credit:
            return L"static";
        case ControlKind::link:
            return L"syslink";
    }
    return L"";
}

std::wstring lower_class_name(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::wstring lower(name);
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return lower;
}

// The child windows in window order, which the dialog manager makes the tab order.
std::vector<HWND> children_in_order(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

using MainWindowTest = DialogTest;

TEST_F(MainWindowTest, IsAFixedSizeWindowWithItsOwnTaskbarButton) {
    wchar_t title[32] = {};
    GetWindowTextW(dialog, title, 32);
    EXPECT_STREQ(title, L"TVK_Edit");
    const auto style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
    const DWORD dialog_bits[] = {WS_POPUP, WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX};
    for (const DWORD bit : dialog_bits) {
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    }
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    RECT expected{0, 0, kDialogWidth, kDialogHeight};
    MapDialogRect(dialog, &expected);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
}

TEST_F(MainWindowTest, ControlsHaveTheirIdsClassesTextsStylesAndPlaces) {
    const std::vector<HWND> children = children_in_order(dialog);
    ASSERT_EQ(children.size(), kControls.size());
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlLayout& control = kControls[i];
        HWND child = children[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(control.id));
        // The credit line's id of -1 reads back as a 16-bit -1.
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(control.id));
        EXPECT_EQ(lower_class_name(child), class_of(control.kind));
        if (control.kind == ControlKind::button) {
            wchar_t text[32] = {};
            GetWindowTextW(child, text, 32);
            EXPECT_EQ(std::wstring(text), std::wstring(control.text.begin(), control.text.end()));
        }
        const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        EXPECT_EQ(style & WS_VISIBLE, static_cast<DWORD>(WS_VISIBLE));
        EXPECT_EQ((style & WS_TABSTOP) != 0, control.kind != ControlKind::credit);

        // The dialog manager converts the place and the size each on their own.
        RECT expected{control.x, control.y, control.width, control.height};
        MapDialogRect(dialog, &expected);
        const RECT actual = client_rect_of(dialog, child);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
    }
    const auto list_style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
    // The scroll bar's style bit comes and goes with the need for it.
    const DWORD list_bits[] = {LBS_NOTIFY, LBS_NOINTEGRALHEIGHT, LBS_WANTKEYBOARDINPUT};
    for (const DWORD bit : list_bits) {
        EXPECT_EQ(list_style & bit, bit) << std::hex << bit;
    }
    EXPECT_EQ(list_style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u);
    for (const ControlLayout& control : kControls) {
        if (control.kind == ControlKind::button) {
            EXPECT_EQ(GetWindowLongW(item(control.id), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        }
    }
}

TEST_F(MainWindowTest, TabVisitsTheControlsInTableOrder) {
    for (const ControlLayout& control : kControls) {
        EnableWindow(item(control.id), TRUE);
    }
    std::vector<int> expected;
    for (const ControlLayout& control : kControls) {
        if (control.kind != ControlKind::credit) {
            expected.push_back(control.id);
        }
    }
    std::vector<int> visited;
    HWND current = list;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        visited.push_back(GetDlgCtrlID(current));
        current = GetNextDlgTabItem(dialog, current, FALSE);
    }
    EXPECT_EQ(current, list);  // and round again
    EXPECT_EQ(visited, expected);
}

// The other Windows tests read the preview and place controls in pixels measured with Wine's own
// Tahoma, which gives the standard base units; another font would make their failures misleading.
TEST_F(MainWindowTest, DialogFontGivesTheBaseUnitsTheTestsExpect) {
    const SIZE units = dialog_base_units(dialog);
    ASSERT_TRUE(units.cx == 6 && units.cy == 13)
        << "The dialog's font is " << font_in_use(dialog) << ", which gives base units of "
        << units.cx << " x " << units.cy << " instead of 6 x 13. The Windows tests expect Wine's "
        << "own fonts (Debian package fonts-wine) in a prefix pointed at them; run them through "
        << "scripts/windows-test.sh.";
    const RECT place = preview_place(dialog);
    EXPECT_EQ(place.left, 400);
    EXPECT_EQ(place.top, 157);
}

// Keys as the program's message loop hands them to the dialog manager; the focus moves the way
// Tab moves it, which makes a focused push button the default one.
TEST_F(MainWindowTest, EnterAndSpaceClickTheFocusedButtonOnlyAndEscapeKeepsTheWindowOpen) {
    const auto press = [this](HWND target, WPARAM key) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
        for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG event{target, message, key, 1, 0, {}};
            if (!IsDialogMessageW(dialog, &event)) {
                DispatchMessageW(&event);
            }
        }
    };
    services.answer_file(std::nullopt);
    press(item(kOpenId), VK_RETURN);
    EXPECT_EQ(services.file_dialogs.size(), 1u);
    services.answer_file(std::nullopt);
    press(item(kOpenId), VK_SPACE);
    EXPECT_EQ(services.file_dialogs.size(), 2u);
    for (const HWND target : {list, item(kNameId), item(kOpenId)}) {
        press(target, VK_ESCAPE);
    }
    press(list, VK_RETURN);
    press(item(kNameId), VK_RETURN);
    EXPECT_EQ(services.file_dialogs.size(), 2u);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

}  // namespace
}  // namespace tvk::test
