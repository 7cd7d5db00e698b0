#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include "gdiplus_session.h"
#include "main_dialog.h"
#include "resource_ids.h"

// TVK_Edit.exe [ARCHIVE]: the archive, when given, is opened once the window is up. The show
// command is ignored; the program ends with 0 whatever happened, also when the dialog could not
// be created.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const tvk::GdiplusSession gdiplus;
    tvk::DialogStart start;
    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count > 1) {
            start.archive = std::filesystem::path(arguments[1]);
        }
        LocalFree(arguments);
    }
    DialogBoxParamW(instance, MAKEINTRESOURCEW(TVK_MAIN_DIALOG), nullptr, tvk::main_dialog_proc,
                    reinterpret_cast<LPARAM>(&start));
    return 0;
}
