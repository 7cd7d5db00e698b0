#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "main_dialog.h"

namespace tvk::test {

// A file dialog as the editor prepared it.
struct FileDialogCall {
    bool save = false;  // GetSaveFileNameW rather than GetOpenFileNameW
    DWORD struct_size = 0;
    HWND owner = nullptr;
    std::wstring filter;  // every string of the list with its NUL, the closing NUL included
    DWORD filter_index = 0;
    std::wstring proposed_name;
    DWORD max_file = 0;
    DWORD flags = 0;
    bool other_fields_zero = false;
};

struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring title;
    UINT type;
};

struct ShellCall {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    bool parameters_null;
    bool directory_null;
    int show;
};

// Stands in for the file dialogs, the message boxes and the shell of a dialog started with
// `start`: records every call and answers each file dialog with the next queued answer (nullopt:
// the user cancels). One lives at a time.
class FakeServices {
  public:
    FakeServices();
    ~FakeServices();
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    void answer_file(std::optional<std::wstring> path) { answers.push_back(std::move(path)); }

    std::deque<std::optional<std::wstring>> answers;
    std::vector<FileDialogCall> file_dialogs;
    std::vector<MessageBoxCall> message_boxes;
    std::vector<ShellCall> shell_calls;
    // The dialog's start parameter, with these services.
    DialogStart start;
};

}  // namespace tvk::test
