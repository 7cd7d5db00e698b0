#include "main_dialog.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "about.h"
#include "dialog_layout.h"
#include "editor_controller.h"
#include "platform_image_files.h"
#include "resource_ids.h"
#include "win32_services.h"
#include "win32_text.h"
#include "win32_view.h"

namespace tvk {
namespace {

// The editor of one main window: its controls, its image files and the behaviour between them.
struct MainDialog {
    explicit MainDialog(HWND dialog)
        : view(dialog), images(make_platform_image_files()), controller(view, *images) {}

    Win32View view;
    std::unique_ptr<ImageFiles> images;
    EditorController controller;
};

MainDialog* dialog_state(HWND dialog) {
    return reinterpret_cast<MainDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void initialise(HWND dialog) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TVK_APP_ICON));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendDlgItemMessageW(dialog, kNameId, EM_LIMITTEXT, kNameMaxLength, 0);
    auto state = std::make_unique<MainDialog>(dialog);
    state->controller.initialise();
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
}

void release(HWND dialog) {
    const std::unique_ptr<MainDialog> state(dialog_state(dialog));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    if (state) {
        state->controller.release();
    }
    // The preview's device context and bitmap go with the view.
}

void paint(HWND dialog, const MainDialog& state) {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(dialog, &paint);
    state.view.paint_preview(target);
    EndPaint(dialog, &paint);
}

// The links open their targets through the shell; the mail link's window is its owner, the web
// page gets none.
void open_link(HWND dialog, const NMHDR& notice) {
    if (notice.code != static_cast<UINT>(NM_CLICK) && notice.code != static_cast<UINT>(NM_RETURN)) {
        return;
    }
    const Win32Services& services = win32_services();
    if (notice.idFrom == kMailLinkId) {
        services.shell_execute(dialog, L"open", to_wide(kMailLinkTarget).c_str(), nullptr, nullptr,
                               SW_SHOW);
    } else if (notice.idFrom == kWebLinkId) {
        services.shell_execute(nullptr, L"open", to_wide(kWebLinkTarget).c_str(), nullptr, nullptr,
                               SW_SHOW);
    }
}

ListKey list_key_of(WPARAM wparam) {
    switch (LOWORD(wparam)) {
        case VK_UP:
            return ListKey::up;
        case VK_DOWN:
            return ListKey::down;
        case VK_INSERT:
            return ListKey::insert;
        case VK_DELETE:
            return ListKey::del;
        default:
            return ListKey::other;
    }
}

bool shift_down() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

// Commands are recognised by the whole wParam, so only a click (notification code 0) runs one.
INT_PTR command(MainDialog& state, WPARAM wparam, LPARAM lparam) {
    EditorController& editor = state.controller;
    switch (wparam) {
        case kOpenId:
            editor.open_archive();
            return TRUE;
        case kSaveId:
            editor.save_archive();
            return TRUE;
        case kRenameId:
            editor.rename();
            return TRUE;
        case kDeleteId:
            editor.delete_entry();
            return TRUE;
        case kMoveUpId:
            editor.move_up();
            return TRUE;
        case kMoveDownId:
            editor.move_down();
            return TRUE;
        case kSaveScreenId:
            editor.save_screen();
            return TRUE;
        case kSetScreenId:
            editor.set_screen();
            return TRUE;
        case kInsertId:
            editor.insert();
            return TRUE;
        case kAddId:
            editor.add();
            return TRUE;
        default:
            break;
    }
    if (reinterpret_cast<HWND>(lparam) == state.view.list() && HIWORD(wparam) == LBN_SELCHANGE) {
        editor.selection_changed();
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog);
        return FALSE;
    }
    MainDialog* state = dialog_state(dialog);
    if (state == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_PAINT:
            paint(dialog, *state);
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        case WM_DESTROY:
            release(dialog);
            return FALSE;
        case WM_NOTIFY:
            open_link(dialog, *reinterpret_cast<const NMHDR*>(lparam));
            return FALSE;
        case WM_VKEYTOITEM:
            return state->controller.list_key(list_key_of(wparam), shift_down());
        case WM_COMMAND:
            return command(*state, wparam, lparam);
        default:
            return FALSE;
    }
}

}  // namespace tvk
