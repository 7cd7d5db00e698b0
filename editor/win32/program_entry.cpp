#include <windows.h>

#include "gdiplus_session.h"
#include "main_dialog.h"
#include "resource_ids.h"

// The command line and the show command are ignored; the program ends with 0 whatever happened,
// also when the dialog could not be created.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const tvk::GdiplusSession gdiplus;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(TVK_MAIN_DIALOG), nullptr, tvk::main_dialog_proc, 0);
    return 0;
}
