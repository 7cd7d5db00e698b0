#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "dialog_layout.h"
#include "temp_folder.h"
#include "test_files.h"

namespace tvk::test {
namespace {

constexpr DWORD kPatienceMs = 30000;
constexpr DWORD kPollMs = 100;

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t title[32] = {};
    GetWindowTextW(window, title, 32);
    if (process == search.process && std::wstring(title) == L"TVK_Edit" &&
        IsWindowVisible(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND wait_for_window(DWORD process) {
    Search search{process, nullptr};
    for (DWORD waited = 0; search.found == nullptr && waited < kPatienceMs; waited += kPollMs) {
        EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            Sleep(kPollMs);
        }
    }
    return search.found;
}

// Starts the program with these arguments, waits for its window, looks at the entry list, closes
// the window and returns the number of rows it saw; the program must end with 0.
int rows_shown_at_start(const std::wstring& arguments) {
    const std::wstring program = (program_folder() / "TVK_Edit.exe").wstring();
    std::wstring command_line = L"\"" + program + L"\"" + arguments;
    int rows = -1;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        ADD_FAILURE() << "the program did not start";
        return rows;
    }
    const HWND window = wait_for_window(process.dwProcessId);
    EXPECT_NE(window, nullptr);
    if (window != nullptr) {
        wchar_t window_class[16] = {};
        GetClassNameW(window, window_class, 16);
        EXPECT_STREQ(window_class, L"#32770");
        // The archive opens once the window is up: wait for the list to have its rows.
        const HWND list = GetDlgItem(window, kListId);
        for (DWORD waited = 0; waited < kPatienceMs; waited += kPollMs) {
            rows = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
            if (rows > 0 || arguments.empty()) {
                break;
            }
            Sleep(kPollMs);
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, kPatienceMs), WAIT_OBJECT_0);
    DWORD exit_code = 1;
    GetExitCodeProcess(process.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return rows;
}

TEST(Program, ShowsItsWindowAndEndsWithZeroWhenClosed) {
    EXPECT_EQ(rows_shown_at_start(L""), 0);
}

TEST(Program, OpensTheArchiveNamedOnItsCommandLine) {
    const TempFolder folder;
    const std::filesystem::path archive = folder / "named at start.dat";
    const PixelGrid black{};
    write_archive(archive, {{"one", black}, {"two", black}});
    EXPECT_EQ(rows_shown_at_start(L" \"" + archive.wstring() + L"\""), 2);
}

}  // namespace
}  // namespace tvk::test
