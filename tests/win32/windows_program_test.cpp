// The program's main dialog over its real controls, with the file dialogs, message boxes and shell
// answered here; the program started for real; its image files read through GDI+.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "about.h"
#include "builders.h"
#include "dialog_layout.h"
#include "main_dialog.h"
#include "messages.h"
#include "picture_bytes.h"
#include "platform_image_files.h"
#include "preview_place.h"
#include "resource_ids.h"
#include "temp_folder.h"

namespace tvk::test {
namespace {

std::wstring g_asked;                 // what the window asked of the system since the last look
std::vector<std::wstring> g_answers;  // each file dialog takes the next; none left: cancelled

std::wstring wide(std::string_view text) {
    return {text.begin(), text.end()};
}

std::wstring text_of(HWND window) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return window != nullptr ? text : L"none";
}

// "; open OWNER PROPOSED FILTERS FLAGS", the filters' NULs written "|"; every other field zero.
BOOL file_dialog(OPENFILENAMEW* dialog, const wchar_t* verb) {
    OPENFILENAMEW expected{};
    expected.lStructSize = sizeof expected;
    expected.hwndOwner = dialog->hwndOwner;
    expected.lpstrFilter = dialog->lpstrFilter;
    expected.nFilterIndex = 1;
    expected.lpstrFile = dialog->lpstrFile;
    expected.nMaxFile = 300;
    expected.Flags = dialog->Flags;
    EXPECT_EQ(std::memcmp(&expected, dialog, sizeof expected), 0);
    g_asked += L"; " + std::wstring(verb) + L" " + text_of(dialog->hwndOwner) + L" " +
               dialog->lpstrFile + L" ";
    for (const wchar_t* part = dialog->lpstrFilter; *part != L'\0'; part += wcslen(part) + 1) {
        g_asked += part + std::wstring(L"|");
    }
    g_asked += L" " + std::to_wstring(dialog->Flags);
    const bool chosen = !g_answers.empty() && wcscpy(dialog->lpstrFile, g_answers[0].c_str());
    g_answers.clear();
    return chosen;
}

DialogStart g_start{
    {[](OPENFILENAMEW* dialog) { return file_dialog(dialog, L"open"); },
     [](OPENFILENAMEW* dialog) { return file_dialog(dialog, L"save"); },
     [](HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
         g_asked +=
             L"; box " + text_of(owner) + L" " + title + L" " + std::to_wstring(type) + L" " + text;
         return IDOK;
     },
     [](HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR folder, INT show) {
         g_asked += L"; shell " + text_of(owner) + L" " + verb + L" " + file + L" " +
                    std::to_wstring(show) + (parameters || folder ? L" and more" : L"");
         return reinterpret_cast<HINSTANCE>(33);  // above 32: done
     }},
    std::nullopt};

// One thing the user does to a control. Code 0 clicks it, a virtual key is pressed in it (with
// Ctrl, Shift), WM_DROPFILES drops `folder / "dropped"` on the window, and any other code comes
// from it as a notice.
struct Step {
    int id;
    unsigned code = 0;
    bool ctrl = false;
    bool shift = false;
};

// The main dialog made from the program's template, its font changed when one is given, shown.
struct MainWindow {
    explicit MainWindow(std::wstring face = {}, WORD points = 8, WORD weight = FW_NORMAL) {
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(TVK_MAIN_DIALOG), RT_DIALOG);
        const auto* begin = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
        const auto* end = begin + SizeofResource(nullptr, found);
        const std::wstring own = L"MS Shell Dlg";
        const auto* own_bytes = reinterpret_cast<const BYTE*>(own.c_str());
        const BYTE* own_face = std::search(begin, end, own_bytes, own_bytes + own.size() * 2);
        std::vector<BYTE> bytes(begin, own_face);
        std::memcpy(&bytes[bytes.size() - 6], &points, 2);
        std::memcpy(&bytes[bytes.size() - 4], &weight, 2);
        face = face.empty() ? own : face;
        const auto* face_bytes = reinterpret_cast<const BYTE*>(face.c_str());
        bytes.insert(bytes.end(), face_bytes, face_bytes + face.size() * 2 + 2);
        // The controls start on a four-byte boundary, in the copy as in the template.
        bytes.resize((bytes.size() + 3) / 4 * 4);
        bytes.insert(bytes.end(), begin + (own_face - begin + own.size() * 2 + 5) / 4 * 4, end);
        dialog = CreateDialogIndirectParamW(
            nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr, main_dialog_proc,
            reinterpret_cast<LPARAM>(&g_start));
        ShowWindow(dialog, SW_SHOW);
    }
    ~MainWindow() { DestroyWindow(dialog); }

    HWND item(int id) const { return GetDlgItem(dialog, id); }

    // Opens an archive of these entries through the Open button and picks a row (-1: none).
    void open(const std::vector<TestEntry>& entries, int row) {
        write_archive(folder / "TVK.DAT", entries);
        g_answers = {(folder / "TVK.DAT").wstring()};
        run({kOpenId});
        SendMessageW(item(kListId), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListId, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(item(kListId)));
        g_asked.clear();
    }

    void run(const Step& step) {
        const HWND control = item(step.id);
        if (step.code == 0) {
            SendMessageW(control, BM_CLICK, 0, 0);
        } else if (step.code == WM_DROPFILES) {
            // As the shell drops a file: a DROPFILES block, which the window frees.
            const std::wstring name = (folder / "dropped").wstring();
            HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (name.size() + 2) * 2);
            auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
            *files = {sizeof(DROPFILES), {}, FALSE, TRUE};
            std::memcpy(files + 1, name.c_str(), name.size() * 2);
            GlobalUnlock(memory);
            SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        } else if (step.code > 0xFF) {
            NMHDR notice{control, static_cast<UINT_PTR>(step.id), step.code};
            SendMessageW(dialog, WM_NOTIFY, step.id, reinterpret_cast<LPARAM>(&notice));
        } else {
            // Through the message loop the program runs, the control focused as Tab focuses it.
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
            BYTE keys[256] = {};
            keys[VK_CONTROL] = step.ctrl ? 0x80 : 0;
            keys[VK_SHIFT] = step.shift ? 0x80 : 0;
            SetKeyboardState(keys);
            PostMessageW(control, WM_KEYDOWN, step.code, 1);
            PostMessageW(control, WM_KEYUP, step.code, 0xC0000001);
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
                if (!IsDialogMessageW(dialog, &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            SetKeyboardState(std::array<BYTE, 256>{}.data());
        }
    }

    // The rows, the selection and the name box ("A,B,C 1 N"), then what was asked.
    std::wstring state() const {
        std::wstring text;
        for (LRESULT row = 0; row < SendMessageW(item(kListId), LB_GETCOUNT, 0, 0); ++row) {
            wchar_t row_text[64] = {};
            SendMessageW(item(kListId), LB_GETTEXT, row, reinterpret_cast<LPARAM>(row_text));
            text += (row == 0 ? L"" : L",") + std::wstring(row_text);
        }
        text += L" " + std::to_wstring(SendMessageW(item(kListId), LB_GETCURSEL, 0, 0)) + L" " +
                text_of(item(kNameId)) + g_asked;
        g_asked.clear();
        return text;
    }

    TempFolder folder;
    HWND dialog = nullptr;
};

// Under each font the controls of the layout table stand where it puts them, in tab order, with
// their ids and texts; the preview moves with them, clear of all, and shows the picked
// screen where the window paints it. The first row is the program's own font, which the places
// are measured in.
TEST(MainDialog, ControlsAndPreviewStandWhereTheLayoutPutsThemUnderEveryFont) {
    const struct {
        const wchar_t* face;
        WORD points;
        WORD weight;
        POINT preview;
    } fonts[] = {
        {L"MS Shell Dlg", 8, FW_NORMAL, {400, 157}}, {L"Wingdings", 8, FW_BOLD, {400, 145}},
        {L"Tahoma", 8, FW_BOLD, {467, 157}},         {L"DejaVu Sans", 8, FW_NORMAL, {467, 157}},
        {L"Tahoma", 9, FW_NORMAL, {467, 169}},       {L"Tahoma", 10, FW_BOLD, {533, 193}},
    };
    const PixelGrid screen = make_grid([](int x, int y) {
        return static_cast<ColourValue>((x / 8 + 2 * (y / 8)) % 7 * 0x251A0Fu);
    });
    for (const auto& font : fonts) {
        SCOPED_TRACE(testing::Message() << font.face << " " << font.points << " " << font.weight);
        MainWindow window(font.face, font.points, font.weight);
        const RECT preview{font.preview.x, font.preview.y, font.preview.x + 120,
                           font.preview.y + 112};
        RECT found = preview_place(window.dialog), size{0, 0, kDialogWidth, kDialogHeight},
             client{};
        EXPECT_TRUE(EqualRect(&found, &preview));
        MapDialogRect(window.dialog, &size);
        GetClientRect(window.dialog, &client);
        EXPECT_TRUE(EqualRect(&client, &size));
        HWND child = GetWindow(window.dialog, GW_CHILD);
        for (const ControlLayout& control : kControls) {
            SCOPED_TRACE(control.id);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(static_cast<short>(GetDlgCtrlID(child)), control.id);
            EXPECT_TRUE(control.kind != ControlKind::button ||
                        text_of(child) == wide(control.text));
            const bool stop = (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0;
            EXPECT_EQ(stop, control.kind != ControlKind::credit);
            // The dialog manager converts the place and the size each on their own.
            RECT place{control.x, control.y, control.width, control.height};
            MapDialogRect(window.dialog, &place);
            const RECT expected{place.left, place.top, place.left + place.right,
                                place.top + place.bottom};
            RECT actual{}, overlap{};
            GetWindowRect(child, &actual);
            MapWindowPoints(nullptr, window.dialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_TRUE(EqualRect(&actual, &expected));
            EXPECT_FALSE(IntersectRect(&overlap, &actual, &preview));
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr);
        window.open({{"Only", screen}}, 0);
        UpdateWindow(window.dialog);
        HDC painted = GetDC(window.dialog);
        EXPECT_EQ(make_grid([&](int x, int y) {
                      return GetPixel(painted, preview.left + x, preview.top + y);
                  }),
                  screen);
        ReleaseDC(window.dialog, painted);
    }
}

// Every button, shortcut key, list key, link and a dropped file reach their command, from rows
// "A" to "D" with "B" picked and "N" typed; the six buttons of a selection follow it. Every
// file dialog is cancelled, and shows how it was set up.
TEST(MainDialog, ButtonsKeysLinksAndDropsRunTheirCommands) {
    const std::wstring open = L"A,B,C,D 1 N; open TVK_Edit TVK.DAT All|*| 4096";
    const std::wstring save = L"A,B,C,D 1 N; save TVK_Edit TVK.DAT All|*| 0";
    const std::wstring shell = L"A,B,C,D 1 N; shell ";
    const Step undo{kListId, 'Z', true};
    const struct {
        std::vector<Step> steps;
        std::wstring state;
    } rows[] = {
        {{{kOpenId}}, open},
        {{{kSaveId}}, save},
        {{{kRenameId}}, L"A,N,C,D 1 N"},
        {{{kAddId}}, L"A,B,C,D,N 4 N"},
        {{{kAddId}, {kAddId}}, L"A,B,C,D,N 4 N; box TVK_Edit Error 48 " + wide(kHashCollision)},
        {{{kInsertId}}, L"A,N,B,C,D 1 N"},
        {{{kDeleteId}}, L"A,C,D 1 C"},
        {{{kMoveUpId}}, L"B,A,C,D 0 B"},
        {{{kMoveDownId}}, L"A,C,B,D 2 B"},
        {{{kSetScreenId}}, L"A,B,C,D 1 N; open TVK_Edit  All|*| 4096"},
        {{{kSaveScreenId}}, L"A,B,C,D 1 N; save TVK_Edit  PNG|*.png|All|*| 0"},
        {{{kListId, WM_DROPFILES}}, L"D -1 N"},
        {{{kMailLinkId, NM_CLICK}}, shell + L"TVK_Edit open " + wide(kMailLinkTarget) + L" 5"},
        {{{kWebLinkId, NM_RETURN}}, shell + L"none open " + wide(kWebLinkTarget) + L" 5"},
        {{{kListId, 'O', true}}, open},
        {{{kNameId, 'S', true}}, save},
        {{{kDeleteId}, undo}, L"A,B,C,D 1 N"},
        {{{kDeleteId}, undo, {kListId, 'Y', true}}, L"A,C,D 1 C"},
        {{{kDeleteId}, undo, {kListId, 'Z', true, true}}, L"A,C,D 1 C"},
        {{{kDeleteId}, undo, {kNameId, 'Y', true}}, L"A,C,D 1 C"},
        {{{kDeleteId}, {kNameId, 'X'}, {kNameId, 'Z', true}}, L"A,C,D 1 C"},
        {{{kListId, VK_UP}}, L"A,B,C,D 0 A"},
        {{{kListId, VK_UP, false, true}}, L"B,A,C,D 0 B"},
        {{{kListId, VK_DOWN, false, true}}, L"A,C,B,D 2 B"},
        {{{kListId, VK_INSERT}}, L"A,N,B,C,D 1 N"},
        {{{kListId, VK_DELETE}}, L"A,C,D 1 C"},
        {{{kOpenId, VK_RETURN}}, open},
        {{{kNameId, VK_RETURN}, {kListId, VK_ESCAPE}}, L"A,B,C,D 1 N"},
    };
    MainWindow window;
    write_archive(window.folder / "dropped", {{"D", {}}});
    EXPECT_NE(SendMessageW(window.dialog, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_TRUE(GetWindowLongW(window.dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const LONG fixed_size = WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(GetWindowLongW(window.dialog, GWL_STYLE) & fixed_size, WS_MINIMIZEBOX);
    EXPECT_EQ(SendMessageW(window.item(kNameId), EM_GETLIMITTEXT, 0, 0), 56);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.state));
        window.open({{"A", {}}, {"B", {}}, {"C", {}}, {"D", {}}}, 1);
        SetDlgItemTextW(window.dialog, kNameId, L"N");
        for (const Step& step : row.steps) {
            window.run(step);
        }
        EXPECT_EQ(window.state(), row.state);
        EXPECT_TRUE(IsWindowVisible(window.dialog));
        const bool selected = SendMessageW(window.item(kListId), LB_GETCURSEL, 0, 0) != -1;
        for (const int id : kSelectionButtons) {
            EXPECT_EQ(IsWindowEnabled(window.item(id)) != FALSE, selected) << id;
        }
    }
}

// Started for real with an archive named on its command line, the program lists it once its
// window shows, and ends with 0 when the window is closed.
TEST(Program, OpensTheArchiveNamedAtStartAndEndsWithZero) {
    const TempFolder folder;
    write_archive(folder / "named at start.dat", {{"one", {}}, {"two", {}}});
    std::wstring command(MAX_PATH, L'\0');
    command.resize(GetModuleFileNameW(nullptr, command.data(), MAX_PATH));
    command = L"\"" + command.substr(0, command.rfind(L'\\')) + L"\\TVK_Edit.exe\" \"" +
              (folder / "named at start.dat").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    // The window shows, then the archive opens.
    HWND list = nullptr;
    for (int tries = 0; tries < 300 && SendMessageW(list, LB_GETCOUNT, 0, 0) != 2; ++tries) {
        Sleep(100);
        list = GetDlgItem(FindWindowW(L"#32770", L"TVK_Edit"), kListId);
    }
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    PostMessageW(GetParent(list), WM_CLOSE, 0, 0);
    DWORD exit_code = 1;
    WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &exit_code);
    EXPECT_EQ(exit_code, 0u);  // still running: STILL_ACTIVE
    TerminateProcess(process.hProcess, 1);
}

// Each format reads pixel for pixel with the alpha it stores, the PNG encoders' files among them;
// with a size asked for, a file announcing another is read without being decoded; a file of no
// picture, or of a huge one, gives none.
TEST(GdiplusImageFiles, ReadsEachFormatExactlyAndRefusesByTheAnnouncedSize) {
    Picture half{120, 112, {}};
    Picture opaque = half;
    Picture from_palette = half;
    // 64 colours, two of them the same: only the numbers tell those pixels apart.
    PalettePicture palette{120, 112, {}, {}};
    for (std::uint32_t i = 0; i < 64; ++i) {
        palette.palette.push_back(0xFF000000u | (i == 5 ? 1 : i) * 0x030507u);
    }
    for (std::uint32_t i = 0; i < 120 * 112; ++i) {
        half.argb.push_back((i % 3 == 0 ? 0x80000000u : 0x40000000u) | i * 0x9E3779u % 0x1000000u);
        opaque.argb.push_back(half.argb.back() | 0xFF000000u);
        palette.indexes.push_back(static_cast<std::uint8_t>((i * 7 + i / 120) % 64));
        from_palette.argb.push_back(palette.palette[palette.indexes.back()]);
    }
    Picture icon = solid_picture(120, 112, 0xFFC8140Au);
    icon.argb[0] = 0x80C8140Au;  // premultiplied, its red would read 199 or 100
    // clang-format off
    // 36 million pixels of one bit each: far past any screen, past what is copied out.
    const std::string huge = std::string("BM\0\0\0\0\0\0\0\0\x3E\0\0\0\x28\0\0\0\x70\x17\0\0"
                                         "\x70\x17\0\0\x01\0\x01\0", 30) +
                             std::string(32 + 752 * 6000, '\0');
    const std::unique_ptr<ImageFiles> images = make_platform_image_files();
    const std::string palette_png = images->encode_palette_png(palette).value_or("");
    // Colours 3, 4 and 5 (the same as 1), in their order.
    EXPECT_EQ(png_chunk(palette_png, "PLTE").substr(9, 9), "\x09\x0F\x15\x0C\x14\x1C\x03\x05\x07");
    const TempFolder folder;
    const struct {
        const char* name;
        std::string bytes;  // none: no file
        std::optional<PictureSize> only_size;
        Picture read;
        std::string error;
    } files[] = {
        {"32.png", png_of(half), PictureSize{120, 112}, half, ""},
        {"24.png", images->encode_png(half).value_or(""), std::nullopt, opaque, ""},
        {"8.png", palette_png, std::nullopt, from_palette, ""},
        {"24.bmp", top_down_bitmap(120, 112, 0x123456), PictureSize{120, 112},
         solid_picture(120, 112, 0xFF123456u), ""},
        {"half.ico", icon_of(0xFFC8140Au, 0x80C8140Au), PictureSize{120, 112}, icon, ""},
        // Whole up to its size only: GDI+ could not decode it.
        {"turned.bmp", top_down_bitmap(112, 120, 0).substr(0, 100), PictureSize{120, 112},
         {112, 120, {}}, ""},
        {"words.png", "These are words, not a picture.", std::nullopt, {}, "Not a picture"},
        {"cut.png", "\x89PNG\r\n\x1a\n", PictureSize{120, 112}, {}, "Not a picture"},
        {"huge.bmp", huge, std::nullopt, {}, "Not a picture"},
        {"missing.png", "", std::nullopt, {}, unreadable_file_reason(folder / "missing.png")},
    };
    // clang-format on
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        if (!file.bytes.empty()) {
            write_file(folder / file.name, file.bytes);
        }
        const PictureFile read = images->read_picture(folder / file.name, file.only_size);
        EXPECT_EQ(read.error, file.error);
        EXPECT_EQ(read.picture.width * 10000 + read.picture.height,
                  file.read.width * 10000 + file.read.height);
        EXPECT_TRUE(read.picture.argb == file.read.argb);
    }
}

}  // namespace
}  // namespace tvk::test
