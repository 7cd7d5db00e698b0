#pragma once

#include <windows.h>

namespace tvk {

// The dialog procedure of the main window, for dialog template TVK_MAIN_DIALOG. It keeps the
// window's editor in the dialog's user data from WM_INITDIALOG until WM_DESTROY.
INT_PTR CALLBACK main_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tvk
