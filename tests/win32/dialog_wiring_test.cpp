// The shortcut keys, dropped files and the archive named at start reach the editor.
#include <windows.h>
// After windows.h, which it builds on.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>

#include "dialog_fixture.h"
#include "dialog_layout.h"
#include "main_dialog.h"
#include "test_images.h"

namespace tvk::test {
namespace {

const PixelGrid kGrey = make_grid([](int, int) { return 0x808080u; });
const PixelGrid kWhite = make_grid([](int, int) { return 0xFFFFFFu; });

class DialogWiring : public DialogTest {
  protected:
    void open_two() {
        write_archive(archive, {{"Alpha", kGrey}, {"Beta", kGrey}});
        open(archive);
    }

    // A key pressed with Ctrl (and Shift) in `target`, shown to the shortcut translation as the
    // dialog's message loop shows it; true when it ran a command.
    bool shortcut(HWND target, WORD key, bool shift = false) {
        set_keys(true, shift);
        MSG message{target, WM_KEYDOWN, key, 1, 0, {}};
        const bool ran = translate_shortcut(dialog, message);
        set_keys(false, false);
        return ran;
    }

    void set_keys(bool control, bool shift) const {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    // Drops the file on the dialog as the shell does: a DROPFILES block that the dialog frees.
    void drop(const std::filesystem::path& file) const {
        const std::wstring name = file.wstring();
        const std::size_t size = sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, size);
        auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), name.c_str(),
                    (name.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SendMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    PixelGrid saved_screen(std::size_t entry) {
        services.answer_file(archive.wstring());
        click(kSaveId);
        return read_archive(archive).at(entry).screen;
    }

    const std::filesystem::path archive = folder / "TVK.DAT";
};

TEST_F(DialogWiring, CtrlZUndoesAndCtrlYAndCtrlShiftZRedo) {
    open_two();
    pick_row(0);
    press_in_list(VK_DELETE, false);
    ASSERT_EQ(rows(), std::vector<std::wstring>{L"Beta"});

    EXPECT_TRUE(shortcut(list, 'Z'));
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
    EXPECT_EQ(selection(), 0);
    EXPECT_TRUE(shortcut(list, 'Y'));
    EXPECT_EQ(rows(), std::vector<std::wstring>{L"Beta"});
    EXPECT_TRUE(shortcut(list, 'Z'));
    EXPECT_TRUE(shortcut(list, 'Z', true));
    EXPECT_EQ(rows(), std::vector<std::wstring>{L"Beta"});
    EXPECT_FALSE(shortcut(list, 'Q'));
}

TEST_F(DialogWiring, TheNameBoxKeepsCtrlZButNotTheOtherShortcuts) {
    open_two();
    pick_row(0);
    press_in_list(VK_DELETE, false);

    EXPECT_FALSE(shortcut(item(kNameId), 'Z'));
    EXPECT_EQ(rows(), std::vector<std::wstring>{L"Beta"});
    EXPECT_TRUE(shortcut(item(kNameId), 'Y'));  // an edit box has no redo of its own
    services.answer_file(std::nullopt);
    services.answer_file(std::nullopt);
    EXPECT_TRUE(shortcut(item(kNameId), 'O'));
    EXPECT_TRUE(shortcut(item(kNameId), 'S'));
    ASSERT_EQ(services.file_dialogs.size(), 3u);
    EXPECT_FALSE(services.file_dialogs[1].save);
    EXPECT_TRUE(services.file_dialogs[2].save);
}

TEST_F(DialogWiring, TheMessageLoopShowsKeysToTheShortcutsFirst) {
    open_two();
    pick_row(1);
    press_in_list(VK_DELETE, false);
    SetFocus(list);
    set_keys(true, false);
    PostMessageW(list, WM_KEYDOWN, 'Z', 1);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    set_keys(false, false);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
}

TEST_F(DialogWiring, ADroppedPictureSetsTheScreenAndADroppedArchiveOpens) {
    open_two();
    pick_row(1);
    const std::filesystem::path picture = folder / "white.png";
    write_image(picture, kPng24, kScreenWidth, kScreenHeight, [](int, int) { return 0xFFFFFFFFu; });
    drop(picture);
    EXPECT_TRUE(services.message_boxes.empty());
    EXPECT_EQ(saved_screen(1), kWhite);

    const std::filesystem::path other = folder / "other.dat";
    write_archive(other, {{"Dropped", kGrey}});
    drop(other);
    EXPECT_EQ(rows(), std::vector<std::wstring>{L"Dropped"});
    EXPECT_TRUE(services.message_boxes.empty());
}

TEST_F(DialogWiring, APictureThatDoesNotFitGetsSetScreensMessage) {
    open_two();
    pick_row(0);
    const std::filesystem::path picture = folder / "wide.png";
    write_image(picture, kPng24, 121, kScreenHeight, [](int, int) { return 0xFFFFFFFFu; });
    drop(picture);
    ASSERT_EQ(services.message_boxes.size(), 1u);
    EXPECT_EQ(services.message_boxes[0].text, L"Image width must be 120");
}

}  // namespace
}  // namespace tvk::test
