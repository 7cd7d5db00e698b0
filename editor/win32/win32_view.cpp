#include "win32_view.h"

#include <string>

#include "dialog_layout.h"
#include "file_dialog.h"
#include "messages.h"
#include "preview_place.h"
#include "win32_text.h"

namespace tvk {

Win32View::Win32View(HWND dialog, const Win32Services& services)
    : m_dialog(dialog),
      m_services(services),
      m_list(GetDlgItem(dialog, kListId)),
      m_preview_rect(preview_place(dialog)) {
    HDC window_dc = GetDC(dialog);
    m_preview_dc = CreateCompatibleDC(window_dc);
    m_preview_bitmap = CreateCompatibleBitmap(window_dc, kScreenWidth, kScreenHeight);
    SelectObject(m_preview_dc, m_preview_bitmap);
    ReleaseDC(dialog, window_dc);
}

Win32View::~Win32View() {
    // The bitmap leaves the device context with it, and is then free to go.
    DeleteDC(m_preview_dc);
    DeleteObject(m_preview_bitmap);
}

void Win32View::paint_preview(HDC target) const {
    BitBlt(target, m_preview_rect.left, m_preview_rect.top, kScreenWidth, kScreenHeight,
           m_preview_dc, 0, 0, SRCCOPY);
}

LRESULT Win32View::send_to_list(UINT message, WPARAM wparam, LPARAM lparam) const {
    return SendMessageW(m_list, message, wparam, lparam);
}

int Win32View::row_count() const {
    return static_cast<int>(send_to_list(LB_GETCOUNT, 0, 0));
}

std::u16string Win32View::row_text(int row) const {
    const LRESULT length = send_to_list(LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        send_to_list(LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return from_wide(text);
}

void Win32View::add_row(const std::u16string& text) {
    const std::wstring wide = to_wide(text);
    send_to_list(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32View::insert_row(int row, const std::u16string& text) {
    const std::wstring wide = to_wide(text);
    send_to_list(LB_INSERTSTRING, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32View::delete_row(int row) {
    send_to_list(LB_DELETESTRING, static_cast<WPARAM>(row), 0);
}

int Win32View::selected_row() const {
    return static_cast<int>(send_to_list(LB_GETCURSEL, 0, 0));
}

void Win32View::select_row(int row) {
    // -1 clears the selection; the list box reports no change for a selection made this way.
    send_to_list(LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

std::u16string Win32View::name_text() const {
    std::wstring text(kNameMaxLength + 1, L'\0');
    const UINT length = GetDlgItemTextW(m_dialog, kNameId, text.data(), kNameMaxLength + 1);
    text.resize(length);
    return from_wide(text);
}

void Win32View::set_name_text(const std::u16string& text) {
    SetDlgItemTextW(m_dialog, kNameId, to_wide(text).c_str());
}

void Win32View::enable_selection_buttons(bool enabled) {
    for (const int id : kSelectionButtons) {
        EnableWindow(GetDlgItem(m_dialog, id), enabled ? TRUE : FALSE);
    }
}

void Win32View::show_preview(const PixelGrid& grid) {
    // A colour value is laid out like a COLORREF (0x00BBGGRR), so it goes to SetPixel unchanged.
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            SetPixel(m_preview_dc, x, y,
                     grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))]);
        }
    }
    InvalidateRect(m_dialog, &m_preview_rect, FALSE);
}

void Win32View::warn(std::string_view message) {
    m_services.message_box(m_dialog, to_wide(message).c_str(), to_wide(kMessageTitle).c_str(),
                           MB_OK | MB_ICONWARNING);
}

std::optional<std::filesystem::path> Win32View::choose_file(FileChoice choice) {
    return run_file_dialog(m_services, m_dialog, choice);
}

}  // namespace tvk
