#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_services.h"
#include "screen_format.h"
#include "test_files.h"

namespace tvk::test {

// The main dialog made from the program's own template and procedure, shown, with the file
// dialogs, message boxes and shell answered by a FakeServices.
class DialogTest : public ::testing::Test {
  protected:
    DialogTest();
    // The main dialog made from these template bytes instead of the program's own.
    explicit DialogTest(const std::vector<std::uint8_t>& dialog_template);
    ~DialogTest() override;

    HWND item(int id) const { return GetDlgItem(dialog, id); }
    // The dialog procedure's own result for a message.
    INT_PTR call_procedure(UINT message, WPARAM wparam, LPARAM lparam) const;

    // A click on a button, as the button reports it.
    void click(int id) const;
    // The user picks a row: the list moves its selection and reports the change.
    void pick_row(int row) const;
    // A key pressed in the entry list, with or without Shift held.
    void press_in_list(WORD key, bool shift) const;
    void set_shift(bool down) const;
    // Opens an archive through the "Open TVK" button.
    void open(const std::filesystem::path& file);

    std::vector<std::wstring> rows() const;
    int selection() const;
    std::wstring name_box() const;
    void type_name(const std::wstring& text) const;
    bool selection_buttons_enabled() const;  // all six; fails when they disagree
    // The preview as the window shows it after painting, read where the view paints it.
    PixelGrid preview() const;

    FakeServices services;
    TempFolder folder;
    HWND dialog = nullptr;
    HWND list = nullptr;

  private:
    void show();
};

// A child window's rectangle in its dialog's client area.
RECT client_rect_of(HWND dialog, HWND child);

// The face and the full name of the font that a window's text is drawn in.
std::wstring font_in_use(HWND window);

}  // namespace tvk::test
