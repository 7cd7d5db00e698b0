#pragma once

#include <windows.h>

#include "editor_view.h"
#include "win32_services.h"

namespace tvk {

// The editor's view over the controls of the main dialog. It owns the preview: a memory device
// context with a 120 x 112 bitmap selected into it, drawn by show_preview and copied to the window
// by paint_preview.
class Win32View final : public EditorView {
  public:
    // Made while the dialog initialises: the preview's place follows the dialog's base units.
    Win32View(HWND dialog, const Win32Services& services);
    ~Win32View() override;
    Win32View(const Win32View&) = delete;
    Win32View& operator=(const Win32View&) = delete;

    HWND list() const { return m_list; }
    // Copies the preview bitmap to its place in the dialog's client area.
    void paint_preview(HDC target) const;

    int row_count() const override;
    std::u16string row_text(int row) const override;
    void add_row(const std::u16string& text) override;
    void insert_row(int row, const std::u16string& text) override;
    void delete_row(int row) override;
    int selected_row() const override;
    void select_row(int row) override;

    std::u16string name_text() const override;
    void set_name_text(const std::u16string& text) override;

    void enable_selection_buttons(bool enabled) override;
    void show_preview(const PixelGrid& grid) override;
    void warn(std::string_view message) override;
    std::optional<std::filesystem::path> choose_file(FileChoice choice) override;

  private:
    LRESULT send_to_list(UINT message, WPARAM wparam, LPARAM lparam) const;

    HWND m_dialog;
    const Win32Services& m_services;
    HWND m_list;
    RECT m_preview_rect;
    HDC m_preview_dc = nullptr;
    HBITMAP m_preview_bitmap = nullptr;
};

}  // namespace tvk
