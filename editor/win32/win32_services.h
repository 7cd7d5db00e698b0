#pragma once

#include <windows.h>
// windows.h first: the common dialog and shell headers build on it.
#include <commdlg.h>
#include <shellapi.h>

namespace tvk {

// The modal and outward-facing calls of the editor window. They go through these pointers so that
// tests can answer a file dialog or a message box, and see what the shell was asked to open,
// without a person at the screen. The dialog gets them with its start parameter.
struct Win32Services {
    BOOL(WINAPI* get_open_file_name)(OPENFILENAMEW*) = GetOpenFileNameW;
    BOOL(WINAPI* get_save_file_name)(OPENFILENAMEW*) = GetSaveFileNameW;
    int(WINAPI* message_box)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
    HINSTANCE(WINAPI* shell_execute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) = ShellExecuteW;
};

}  // namespace tvk
