#pragma once

#include <array>
#include <string_view>

// The main window's layout in dialog units, shared by every front end. The Windows resource script
// repeats these numbers (a resource compiler cannot read a C++ table); its tests compare the two.
namespace tvk {

inline constexpr int kListId = 1001;
inline constexpr int kOpenId = 1002;
inline constexpr int kSaveId = 1003;
inline constexpr int kNameId = 1004;
inline constexpr int kRenameId = 1005;
inline constexpr int kDeleteId = 1006;
inline constexpr int kMoveUpId = 1007;
inline constexpr int kMoveDownId = 1008;
inline constexpr int kSaveScreenId = 1009;
inline constexpr int kSetScreenId = 1010;
inline constexpr int kInsertId = 1011;
inline constexpr int kAddId = 1012;
inline constexpr int kMailLinkId = 1013;
inline constexpr int kWebLinkId = 1014;
inline constexpr int kCreditId = -1;

inline constexpr std::string_view kWindowTitle = "TVK_Edit";
inline constexpr int kDialogWidth = 371;  // dialog units
inline constexpr int kDialogHeight = 227;
inline constexpr std::string_view kDialogFont = "MS Shell Dlg";
inline constexpr int kDialogFontPoints = 8;
inline constexpr int kNameMaxLength = 56;

// The preview's place in client-area pixels (not dialog units) for the standard base units of
// 6 x 13 pixels; a dialog whose font gives other units scales it with them.
inline constexpr int kPreviewLeft = 400;
inline constexpr int kPreviewTop = 157;

enum class ControlKind { list, button, edit, credit, link };

struct ControlLayout {
    int id;
    ControlKind kind;
    std::string_view text;  // links and the credit line take theirs from about.h
    int x, y, width, height;
};

// In window order, which is also the tab order.
inline constexpr std::array<ControlLayout, 15> kControls = {{
    {kListId, ControlKind::list, "", 7, 7, 232, 213},
    {kOpenId, ControlKind::button, "Open TVK", 246, 7, 56, 16},
    {kSaveId, ControlKind::button, "Save TVK", 307, 7, 57, 16},
    {kNameId, ControlKind::edit, "", 246, 25, 118, 12},
    {kRenameId, ControlKind::button, "Rename", 246, 41, 56, 16},
    {kAddId, ControlKind::button, "Add", 307, 41, 57, 16},
    {kInsertId, ControlKind::button, "Insert", 246, 59, 56, 16},
    {kDeleteId, ControlKind::button, "Delete", 307, 59, 57, 16},
    {kMoveUpId, ControlKind::button, "Move Up", 246, 77, 56, 16},
    {kMoveDownId, ControlKind::button, "Move Down", 307, 77, 57, 16},
    {kSetScreenId, ControlKind::button, "Set Screen", 245, 172, 56, 16},
    {kSaveScreenId, ControlKind::button, "Save Screen", 307, 172, 57, 16},
    {kCreditId, ControlKind::credit, "", 246, 191, 118, 9},
    {kMailLinkId, ControlKind::link, "", 269, 200, 66, 8},
    {kWebLinkId, ControlKind::link, "", 278, 210, 48, 10},
}};

// The buttons that are enabled exactly while a row is selected, in the order they are switched.
inline constexpr std::array<int, 6> kSelectionButtons = {kRenameId,    kInsertId, kDeleteId,
                                                         kSetScreenId, kMoveUpId, kMoveDownId};

}  // namespace tvk
