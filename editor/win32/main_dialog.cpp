#include "main_dialog.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "about.h"
#include "commands.h"
#include "dialog_layout.h"
#include "editor_controller.h"
#include "platform_image_files.h"
#include "resource_ids.h"
#include "win32_text.h"
#include "win32_view.h"

namespace tvk {
namespace {

// Posted at initialisation, so that an archive named at start opens once the window shows.
constexpr UINT kOpenAtStart = WM_APP + 1;

// The accelerator table of the shortcut keys, each sending its command's id.
HACCEL make_shortcuts() {
    std::array<ACCEL, kCommandKeys.size()> table{};
    for (std::size_t i = 0; i < kCommandKeys.size(); ++i) {
        const KeyBinding& key = kCommandKeys[i];
        table[i] = {static_cast<BYTE>(FVIRTKEY | FCONTROL | (key.shift ? FSHIFT : 0)),
                    static_cast<WORD>(key.letter), static_cast<WORD>(binding_of(key.command).id)};
    }
    return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

// The editor of one main window: its controls, its image files and the behaviour between them.
struct MainDialog {
    MainDialog(HWND dialog, const DialogStart& start)
        : services(start.services),
          archive(start.archive),
          view(dialog, services),
          images(make_platform_image_files()),
          controller(view, *images) {}
    ~MainDialog() {
        if (hook != nullptr) {
            UnhookWindowsHookEx(hook);
        }
        DestroyAcceleratorTable(shortcuts);
    }
    MainDialog(const MainDialog&) = delete;
    MainDialog& operator=(const MainDialog&) = delete;

    Win32Services services;
    std::optional<std::filesystem::path> archive;
    Win32View view;
    std::unique_ptr<ImageFiles> images;
    EditorController controller;
    HACCEL shortcuts = make_shortcuts();
    HHOOK hook = nullptr;
};

// The main dialog of this thread, for the message filter hook, which has no parameter of its own.
thread_local HWND t_main_dialog = nullptr;

MainDialog* dialog_state(HWND dialog) {
    return reinterpret_cast<MainDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The modal loop of DialogBoxParamW shows every message to this hook before the dialog manager
// handles it: the place for the shortcut keys.
LRESULT CALLBACK filter_messages(int code, WPARAM wparam, LPARAM lparam) {
    if (code == MSGF_DIALOGBOX && t_main_dialog != nullptr &&
        translate_shortcut(t_main_dialog, *reinterpret_cast<MSG*>(lparam))) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void initialise(HWND dialog, LPARAM lparam) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TVK_APP_ICON));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendDlgItemMessageW(dialog, kNameId, EM_LIMITTEXT, kNameMaxLength, 0);
    const DialogStart defaults;
    const auto* start = lparam != 0 ? reinterpret_cast<const DialogStart*>(lparam) : &defaults;
    auto state = std::make_unique<MainDialog>(dialog, *start);
    state->controller.initialise();
    state->hook = SetWindowsHookExW(WH_MSGFILTER, filter_messages, nullptr, GetCurrentThreadId());
    t_main_dialog = dialog;
    DragAcceptFiles(dialog, TRUE);
    if (state->archive) {
        PostMessageW(dialog, kOpenAtStart, 0, 0);
    }
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
}

void release(HWND dialog) {
    const std::unique_ptr<MainDialog> state(dialog_state(dialog));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    if (t_main_dialog == dialog) {
        t_main_dialog = nullptr;
    }
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
void open_link(HWND dialog, const MainDialog& state, const NMHDR& notice) {
    if (notice.code != static_cast<UINT>(NM_CLICK) && notice.code != static_cast<UINT>(NM_RETURN)) {
        return;
    }
    if (notice.idFrom == kMailLinkId) {
        state.services.shell_execute(dialog, L"open", to_wide(kMailLinkTarget).c_str(), nullptr,
                                     nullptr, SW_SHOW);
    } else if (notice.idFrom == kWebLinkId) {
        state.services.shell_execute(nullptr, L"open", to_wide(kWebLinkTarget).c_str(), nullptr,
                                     nullptr, SW_SHOW);
    }
}

// The first of the dropped files; the others are ignored.
void drop_files(MainDialog& state, HDROP drop) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring file(length + 1, L'\0');
    file.resize(DragQueryFileW(drop, 0, file.data(), length + 1));
    DragFinish(drop);
    if (!file.empty()) {
        state.controller.drop_file(std::filesystem::path(file));
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

// The list box's answers to WM_VKEYTOITEM.
INT_PTR key_answer(KeyAnswer answer) {
    return answer == KeyAnswer::handled ? -2 : -1;
}

// A button runs its command on a click (notification code 0); a shortcut key arrives as code 1
// from no control.
INT_PTR command(MainDialog& state, WPARAM wparam, LPARAM lparam) {
    const bool click = HIWORD(wparam) == BN_CLICKED;
    const bool shortcut = HIWORD(wparam) == 1 && lparam == 0;
    if (click || shortcut) {
        if (const auto command = command_for_id(LOWORD(wparam))) {
            state.controller.run(*command);
            return TRUE;
        }
    }
    if (reinterpret_cast<HWND>(lparam) == state.view.list() && HIWORD(wparam) == LBN_SELCHANGE) {
        state.controller.selection_changed();
    }
    return FALSE;
}

}  // namespace

bool translate_shortcut(HWND dialog, MSG& message) {
    const MainDialog* state = dialog_state(dialog);
    if (state == nullptr || message.message != WM_KEYDOWN ||
        (message.hwnd != dialog && !IsChild(dialog, message.hwnd))) {
        return false;
    }
    // The name box keeps the key it undoes typing with.
    if (message.hwnd == GetDlgItem(dialog, kNameId) && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
        for (const KeyBinding& key : kCommandKeys) {
            if (key.undoes_typing && message.wParam == static_cast<WPARAM>(key.letter) &&
                key.shift == shift_down()) {
                return false;
            }
        }
    }
    return TranslateAcceleratorW(dialog, state->shortcuts, &message) != 0;
}

INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, lparam);
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
            open_link(dialog, *state, *reinterpret_cast<const NMHDR*>(lparam));
            return FALSE;
        case WM_VKEYTOITEM:
            return key_answer(state->controller.list_key(list_key_of(wparam), shift_down()));
        case WM_COMMAND:
            return command(*state, wparam, lparam);
        case WM_DROPFILES:
            drop_files(*state, reinterpret_cast<HDROP>(wparam));
            return TRUE;
        case kOpenAtStart:
            if (state->archive) {
                const std::filesystem::path archive = *state->archive;
                state->archive.reset();
                state->controller.open_file(archive);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace tvk
