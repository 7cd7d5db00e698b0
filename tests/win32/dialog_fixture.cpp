#include "dialog_fixture.h"

#include "dialog_layout.h"
#include "main_dialog.h"
#include "preview_place.h"
#include "resource_ids.h"

namespace tvk::test {

DialogTest::DialogTest() {
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TVK_MAIN_DIALOG),
                                nullptr, main_dialog_proc, reinterpret_cast<LPARAM>(&services.start));
    show();
}

DialogTest::DialogTest(const std::vector<std::uint8_t>& dialog_template) {
    dialog = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialog_template.data()),
        nullptr, main_dialog_proc, reinterpret_cast<LPARAM>(&services.start));
    show();
}

void DialogTest::show() {
    list = GetDlgItem(dialog, kListId);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
}

DialogTest::~DialogTest() {
    set_shift(false);
    DestroyWindow(dialog);
}

INT_PTR DialogTest::call_procedure(UINT message, WPARAM wparam, LPARAM lparam) const {
    return main_dialog_proc(dialog, message, wparam, lparam);
}

void DialogTest::click(int id) const {
    SendMessageW(item(id), BM_CLICK, 0, 0);
}

void DialogTest::pick_row(int row) const {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void DialogTest::set_shift(bool down) const {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void DialogTest::press_in_list(WORD key, bool shift) const {
    set_shift(shift);
    SendMessageW(list, WM_KEYDOWN, key, 1);
    set_shift(false);
}

void DialogTest::open(const std::filesystem::path& file) {
    services.answer_file(file.wstring());
    click(kOpenId);
}

std::vector<std::wstring> DialogTest::rows() const {
    std::vector<std::wstring> texts;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1,
                          L'\0');
        text.resize(static_cast<std::size_t>(
            SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
        texts.push_back(text);
    }
    return texts;
}

int DialogTest::selection() const {
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}

std::wstring DialogTest::name_box() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item(kNameId))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(item(kNameId), text.data(), static_cast<int>(text.size()))));
    return text;
}

void DialogTest::type_name(const std::wstring& text) const {
    SetWindowTextW(item(kNameId), text.c_str());
}

bool DialogTest::selection_buttons_enabled() const {
    const bool first = IsWindowEnabled(item(kSelectionButtons.front())) != FALSE;
    for (const int id : kSelectionButtons) {
        EXPECT_EQ(IsWindowEnabled(item(id)) != FALSE, first) << "button " << id;
    }
    return first;
}

PixelGrid DialogTest::preview() const {
    UpdateWindow(dialog);
    const RECT place = preview_place(dialog);
    HDC window = GetDC(dialog);
    const PixelGrid grid = make_grid(
        [window, place](int x, int y) { return GetPixel(window, place.left + x, place.top + y); });
    ReleaseDC(dialog, window);
    return grid;
}

RECT client_rect_of(HWND dialog, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring font_in_use(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    std::wstring name = face;
    // An outline font also tells the name of the font file's face, which a substitute differs in.
    const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size != 0) {
        std::vector<std::uint8_t> metrics(size);
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
        GetOutlineTextMetricsW(dc, size, outline);
        name += L" (";
        name += reinterpret_cast<const wchar_t*>(
            metrics.data() + reinterpret_cast<std::uintptr_t>(outline->otmpFullName));
        name += L")";
    }
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return name;
}

}  // namespace tvk::test
