#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>

#include "win32_services.h"

namespace tvk {

// What the program hands the main dialog through its initialisation value (DialogBoxParamW's
// last argument). A value of 0 means the real services and no archive.
struct DialogStart {
    Win32Services services;
    std::optional<std::filesystem::path> archive;  // opened once the window is up
};

// The dialog procedure of the main window, for dialog template TVK_MAIN_DIALOG. It keeps the
// window's editor in the dialog's user data from WM_INITDIALOG until WM_DESTROY.
INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The shortcut keys: runs the command of `message` when it is one of the window's shortcuts,
// and says whether it did. The dialog's message loop asks this before the dialog manager
// sees the key.
bool translate_shortcut(HWND dialog, MSG& message);

}  // namespace tvk
