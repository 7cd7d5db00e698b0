#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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

TEST(Program, ShowsItsWindowAndEndsWithZeroWhenClosed) {
    const std::wstring program = (program_folder() / "TVK_Edit.exe").wstring();
    // Arguments are ignored.
    std::wstring command_line = L"\"" + program + L"\" --some argument";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    const HWND window = wait_for_window(process.dwProcessId);
    EXPECT_NE(window, nullptr);
    if (window != nullptr) {
        wchar_t window_class[16] = {};
        GetClassNameW(window, window_class, 16);
        EXPECT_STREQ(window_class, L"#32770");
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
}

}  // namespace
}  // namespace tvk::test
