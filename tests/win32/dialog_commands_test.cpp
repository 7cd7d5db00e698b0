#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "about.h"
#include "dialog_fixture.h"
#include "dialog_layout.h"
#include "messages.h"
#include "test_images.h"

namespace tvk::test {
namespace {

constexpr ColourValue kBlack = 0;

// A screen of five colours in diagonal bands, different for each seed.
PixelGrid banded(ColourValue seed) {
    return make_grid([seed](int x, int y) {
        return (seed * static_cast<ColourValue>((x + 2 * y) % 5 + 1)) & 0x00FFFFFFu;
    });
}

const PixelGrid kFirst = banded(0x102030);
const PixelGrid kSecond = banded(0x031A07);
const PixelGrid kThird = banded(0x2E0B4D);
const PixelGrid kAllBlack{};

std::wstring widened(std::string_view text) {
    return {text.begin(), text.end()};
}

class MainDialogTest : public DialogTest {
  protected:
    // "Alpha", "Beta" and a name whose last byte is 0xE9.
    void open_three() {
        write_archive(archive, {{"Alpha", kFirst}, {"Beta", kSecond}, {"caf\xE9", kThird}});
        open(archive);
    }

    void expect_warning(std::string_view message) {
        ASSERT_EQ(services.message_boxes.size(), 1u);
        const MessageBoxCall& box = services.message_boxes.front();
        EXPECT_EQ(box.owner, dialog);
        EXPECT_EQ(box.text, widened(message));
        EXPECT_EQ(box.title, L"Error");
        EXPECT_EQ(box.type, 0x30u);
        services.message_boxes.clear();
    }

    const std::filesystem::path archive = folder / "TVK.DAT";
    const std::vector<std::wstring> kThreeRows{L"Alpha", L"Beta", L"caf\u00E9"};
};

TEST_F(MainDialogTest, StartsEmptyWithTheSelectionButtonsDisabled) {
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(selection(), -1);
    EXPECT_FALSE(selection_buttons_enabled());
    for (const int id : {kOpenId, kSaveId, kAddId, kSaveScreenId, kNameId}) {
        EXPECT_TRUE(IsWindowEnabled(item(id))) << id;
    }
    EXPECT_EQ(name_box(), L"");
    EXPECT_EQ(SendMessageW(item(kNameId), EM_GETLIMITTEXT, 0, 0), 56);
    const auto small = SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0);
    EXPECT_NE(small, 0);
    EXPECT_EQ(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), small);
}

TEST_F(MainDialogTest, OpenListsTheEntriesWithNothingSelected) {
    open_three();
    EXPECT_EQ(rows(), kThreeRows);
    EXPECT_EQ(selection(), -1);
    EXPECT_FALSE(selection_buttons_enabled());
    EXPECT_TRUE(services.message_boxes.empty());

    ASSERT_EQ(services.file_dialogs.size(), 1u);
    const FileDialogCall& call = services.file_dialogs.front();
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.struct_size, sizeof(OPENFILENAMEW));
    EXPECT_EQ(call.owner, dialog);
    EXPECT_EQ(call.filter, std::wstring(L"All\0*\0", 7));
    EXPECT_EQ(call.filter_index, 1u);
    EXPECT_EQ(call.proposed_name, L"TVK.DAT");
    EXPECT_EQ(call.max_file, 300u);
    EXPECT_EQ(call.flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_TRUE(call.other_fields_zero);
}

TEST_F(MainDialogTest, AFailedOpenWarnsInABoxOwnedByTheDialog) {
    open_three();
    write_file(folder / "notes.txt", "not an archive at all, just some words");
    open(folder / "notes.txt");
    expect_warning(kNotAnArchive);
    EXPECT_TRUE(rows().empty());
    EXPECT_FALSE(selection_buttons_enabled());

    services.answer_file(std::nullopt);
    click(kOpenId);
    EXPECT_TRUE(services.message_boxes.empty());
}

TEST_F(MainDialogTest, PickingARowShowsItsEntry) {
    open_three();
    pick_row(2);
    EXPECT_EQ(selection(), 2);
    EXPECT_TRUE(selection_buttons_enabled());
    EXPECT_EQ(name_box(), L"caf\u00E9");
    EXPECT_EQ(preview(), kThird);

    pick_row(0);
    EXPECT_EQ(name_box(), L"Alpha");
    EXPECT_EQ(preview(), kFirst);
}

TEST_F(MainDialogTest, OnlyAClickRunsACommand) {
    open_three();
    EXPECT_EQ(call_procedure(WM_COMMAND, kAddId, 0), TRUE);
    EXPECT_EQ(rows().size(), 4u);
    // The same id with another notification code, Enter, Escape and the edit box's notices.
    EXPECT_EQ(call_procedure(WM_COMMAND, MAKEWPARAM(kAddId, BN_DOUBLECLICKED), 0), FALSE);
    EXPECT_EQ(call_procedure(WM_COMMAND, IDOK, 0), FALSE);
    EXPECT_EQ(call_procedure(WM_COMMAND, IDCANCEL, 0), FALSE);
    EXPECT_EQ(call_procedure(WM_COMMAND, MAKEWPARAM(kNameId, EN_CHANGE),
                             reinterpret_cast<LPARAM>(item(kNameId))),
              FALSE);
    EXPECT_EQ(rows().size(), 4u);
    EXPECT_TRUE(services.message_boxes.empty());
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(MainDialogTest, ASelectionChangeFromAnotherControlIsIgnored) {
    open_three();
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(call_procedure(WM_COMMAND, MAKEWPARAM(kListId, LBN_SELCHANGE), 0), FALSE);
    EXPECT_EQ(name_box(), L"");
    EXPECT_FALSE(selection_buttons_enabled());
    EXPECT_EQ(call_procedure(WM_COMMAND, MAKEWPARAM(kListId, LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(list)),
              FALSE);
    EXPECT_EQ(name_box(), L"Beta");
    EXPECT_TRUE(selection_buttons_enabled());
}

TEST_F(MainDialogTest, SaveWritesTheArchiveWithoutAnOverwriteQuestion) {
    open_three();
    pick_row(1);
    type_name(L"Gamma");
    click(kRenameId);
    const std::filesystem::path copy = folder / "copy.dat";
    write_file(copy, "old contents");
    services.answer_file(copy.wstring());
    click(kSaveId);

    ASSERT_EQ(services.file_dialogs.size(), 2u);
    const FileDialogCall& call = services.file_dialogs.back();
    EXPECT_TRUE(call.save);
    EXPECT_EQ(call.owner, dialog);
    EXPECT_EQ(call.filter, std::wstring(L"All\0*\0", 7));
    EXPECT_EQ(call.proposed_name, L"TVK.DAT");
    EXPECT_EQ(call.flags, 0u);
    EXPECT_TRUE(call.other_fields_zero);

    const std::vector<ArchiveEntry> saved = read_archive(copy);
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[1].name, "Gamma");
    EXPECT_EQ(saved[1].screen, kSecond);
    EXPECT_EQ(saved[2].name, "caf\xE9");
    // The list, the selection and the buttons stay.
    EXPECT_EQ(selection(), 1);
    EXPECT_TRUE(selection_buttons_enabled());
}

TEST_F(MainDialogTest, EditingButtonsRunTheirCommands) {
    open_three();
    click(kInsertId);  // disabled, and without a selection it would do nothing anyway
    EXPECT_EQ(rows().size(), 3u);

    type_name(L"New");
    click(kAddId);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"Beta", L"caf\u00E9", L"New"}));
    EXPECT_EQ(selection(), 3);
    EXPECT_TRUE(selection_buttons_enabled());
    EXPECT_EQ(preview(), kAllBlack);

    pick_row(1);
    type_name(L"Mid");
    click(kInsertId);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"Mid", L"Beta", L"caf\u00E9", L"New"}));
    EXPECT_EQ(selection(), 1);

    type_name(L"Middle");
    click(kRenameId);
    EXPECT_EQ(rows()[1], L"Middle");

    click(kMoveUpId);
    EXPECT_EQ(rows()[0], L"Middle");
    EXPECT_EQ(selection(), 0);
    click(kMoveDownId);
    click(kMoveDownId);
    EXPECT_EQ(rows()[2], L"Middle");
    EXPECT_EQ(selection(), 2);

    click(kDeleteId);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"Beta", L"caf\u00E9", L"New"}));
    EXPECT_EQ(selection(), 2);
    EXPECT_EQ(name_box(), L"caf\u00E9");
    EXPECT_EQ(preview(), kThird);

    // A refusal reaches the user as a warning box.
    type_name(L"Alpha");
    click(kAddId);
    expect_warning(kHashCollision);
}

TEST_F(MainDialogTest, ListKeysReturnWhetherTheListStillHandlesThem) {
    open_three();
    pick_row(1);
    const auto key = [this](WORD code, bool shift) {
        set_shift(shift);
        const INT_PTR result =
            call_procedure(WM_VKEYTOITEM, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(list));
        set_shift(false);
        return result;
    };
    EXPECT_EQ(key(VK_UP, false), -1);
    EXPECT_EQ(key(VK_DOWN, false), -1);
    EXPECT_EQ(key('A', true), -1);
    EXPECT_EQ(rows(), kThreeRows);

    EXPECT_EQ(key(VK_UP, true), -2);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Beta", L"Alpha", L"caf\u00E9"}));
    EXPECT_EQ(key(VK_DOWN, true), -2);
    EXPECT_EQ(rows(), kThreeRows);
    EXPECT_EQ(selection(), 1);

    type_name(L"Ins");
    EXPECT_EQ(key(VK_INSERT, false), -1);
    EXPECT_EQ(rows()[1], L"Ins");
    EXPECT_EQ(key(VK_DELETE, false), -2);
    EXPECT_EQ(rows(), kThreeRows);
}

TEST_F(MainDialogTest, ArrowKeysMoveTheSelectionAndShiftMovesTheEntry) {
    open_three();
    pick_row(0);
    press_in_list(VK_DOWN, false);
    EXPECT_EQ(selection(), 1);
    EXPECT_EQ(name_box(), L"Beta");
    EXPECT_EQ(preview(), kSecond);

    press_in_list(VK_DOWN, true);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"caf\u00E9", L"Beta"}));
    EXPECT_EQ(selection(), 2);  // moved once, by the entry, not again by the list
    press_in_list(VK_DOWN, true);
    EXPECT_EQ(selection(), 2);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"caf\u00E9", L"Beta"}));

    press_in_list(VK_DELETE, false);
    EXPECT_EQ(rows(), (std::vector<std::wstring>{L"Alpha", L"caf\u00E9"}));
    EXPECT_EQ(selection(), 1);
}

TEST_F(MainDialogTest, SetScreenReplacesTheSelectedScreen) {
    open_three();
    pick_row(1);
    type_name(L"typed over");
    const std::filesystem::path picture = folder / "picture.png";
    write_image(picture, kPng32, kScreenWidth, kScreenHeight,
                [](int x, int y) { return argb_of(kThird, x, y); });
    services.answer_file(picture.wstring());
    click(kSetScreenId);

    ASSERT_EQ(services.file_dialogs.size(), 2u);
    const FileDialogCall& call = services.file_dialogs.back();
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.owner, dialog);
    EXPECT_EQ(call.filter, std::wstring(L"All\0*\0", 7));
    EXPECT_EQ(call.proposed_name, L"");
    EXPECT_EQ(call.max_file, 300u);
    EXPECT_EQ(call.flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_TRUE(call.other_fields_zero);

    EXPECT_TRUE(services.message_boxes.empty());
    EXPECT_EQ(preview(), kThird);
    EXPECT_EQ(rows(), kThreeRows);
    EXPECT_EQ(name_box(), L"Beta");
    services.answer_file(archive.wstring());
    click(kSaveId);
    EXPECT_EQ(read_archive(archive)[1].screen, kThird);
}

TEST_F(MainDialogTest, SetScreenRefusesPicturesThatDoNotFit) {
    open_three();
    pick_row(0);
    const auto refuse = [this](const std::filesystem::path& file, std::string_view message) {
        services.answer_file(file.wstring());
        click(kSetScreenId);
        expect_warning(message);
        EXPECT_EQ(preview(), kFirst);
    };
    write_file(folder / "text.png", "just text");
    refuse(folder / "text.png", kBadWidth);
    write_image(folder / "wide.png", kPng24, 121, 113, [](int, int) { return 0xFF000000u; });
    refuse(folder / "wide.png", kBadWidth);
    write_image(folder / "tall.png", kPng24, 120, 113, [](int, int) { return 0xFF000000u; });
    refuse(folder / "tall.png", kBadHeight);
    // 64 colours, black among them.
    write_image(folder / "colours.png", kPng24, 120, 112, [](int x, int y) {
        return 0xFF000000u | static_cast<std::uint32_t>((x * 112 + y) % 64) * 0x040404u;
    });
    refuse(folder / "colours.png", kTooManyColoursMessage);

    services.answer_file(archive.wstring());
    click(kSaveId);
    EXPECT_EQ(read_archive(archive)[0].screen, kFirst);
}

TEST_F(MainDialogTest, SaveScreenWritesTheShownScreenAsPng) {
    const std::filesystem::path black = folder / "black";
    services.answer_file(black.wstring());
    click(kSaveScreenId);
    ASSERT_EQ(services.file_dialogs.size(), 1u);
    const FileDialogCall& call = services.file_dialogs.back();
    EXPECT_TRUE(call.save);
    EXPECT_EQ(call.owner, dialog);
    EXPECT_EQ(call.filter, std::wstring(L"PNG\0*.png\0All\0*\0", 17));
    EXPECT_EQ(call.filter_index, 1u);
    EXPECT_EQ(call.proposed_name, L"");
    EXPECT_EQ(call.max_file, 300u);
    EXPECT_EQ(call.flags, 0u);
    EXPECT_TRUE(call.other_fields_zero);
    // Nothing shown yet: a black screen, under exactly the name typed.
    EXPECT_EQ(grid_of(decode_image(black)), kAllBlack);

    open_three();
    pick_row(2);
    const std::filesystem::path shown = folder / "shown.png";
    services.answer_file(shown.wstring());
    click(kSaveScreenId);
    EXPECT_EQ(grid_of(decode_image(shown)), kThird);
    EXPECT_TRUE(services.message_boxes.empty());
}

TEST_F(MainDialogTest, LinksOpenTheirTargetsThroughTheShell) {
    const auto notify = [this](int id, UINT code) {
        NMHDR notice{item(id), static_cast<UINT_PTR>(id), code};
        return call_procedure(WM_NOTIFY, static_cast<WPARAM>(id),
                              reinterpret_cast<LPARAM>(&notice));
    };
    EXPECT_EQ(notify(kMailLinkId, NM_CLICK), FALSE);
    EXPECT_EQ(notify(kWebLinkId, NM_RETURN), FALSE);
    EXPECT_EQ(notify(kWebLinkId, NM_SETFOCUS), FALSE);
    EXPECT_EQ(notify(kListId, NM_CLICK), FALSE);

    ASSERT_EQ(services.shell_calls.size(), 2u);
    const ShellCall& mail = services.shell_calls[0];
    EXPECT_EQ(mail.owner, dialog);
    EXPECT_EQ(mail.verb, L"open");
    EXPECT_EQ(mail.file, widened(kMailLinkTarget));
    EXPECT_TRUE(mail.parameters_null);
    EXPECT_TRUE(mail.directory_null);
    EXPECT_EQ(mail.show, SW_SHOW);
    const ShellCall& web = services.shell_calls[1];
    EXPECT_EQ(web.owner, nullptr);
    EXPECT_EQ(web.verb, L"open");
    EXPECT_EQ(web.file, widened(kWebLinkTarget));
    EXPECT_EQ(web.show, SW_SHOW);
}

}  // namespace
}  // namespace tvk::test
