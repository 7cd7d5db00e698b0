#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwctype>
#include <string>

#include "about.h"
#include "dialog_layout.h"
#include "dialog_template.h"
#include "resource_ids.h"
#include "test_files.h"
#include "test_images.h"

namespace tvk::test {
namespace {

constexpr WORD kButtonClass = 0x80;
constexpr WORD kEditClass = 0x81;
constexpr WORD kStaticClass = 0x82;
constexpr WORD kListBoxClass = 0x83;

std::wstring widened(std::string_view text) {
    return {text.begin(), text.end()};
}

std::wstring upper(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return text;
}

// The class, text and style each kind of control is made with.
struct ExpectedControl {
    NameOrOrdinal window_class;
    std::wstring text;
    DWORD style;
};

ExpectedControl expected_for(const ControlLayout& control) {
    constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
        case ControlKind::list:
            return {{{}, kListBoxClass},
                    L"",
                    kShown | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY |
                        LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT};
        case ControlKind::button:
            return {{{}, kButtonClass}, widened(control.text), kShown | WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::edit:
            return {{{}, kEditClass}, L"", kShown | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
        case ControlKind::credit:
            return {{{}, kStaticClass}, widened(kCreditLine), kShown | WS_GROUP | SS_CENTER};
        case ControlKind::link:
            const std::string_view text = control.id == kMailLinkId ? kMailLinkText : kWebLinkText;
            return {
                {L"SysLink", std::nullopt}, L"<a>" + widened(text) + L"</a>", kShown | WS_TABSTOP};
    }
    return {};
}

TEST(DialogResource, HeaderIsTheMainWindow) {
    const std::vector<std::uint8_t> bytes =
        resource_bytes(RT_DIALOG, MAKEINTRESOURCEW(TVK_MAIN_DIALOG));
    const std::optional<DialogTemplate> dialog = parse_dialog_template(bytes.data(), bytes.size());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->version, 1);
    EXPECT_EQ(dialog->help_id, 0u);
    EXPECT_EQ(dialog->style,
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER |
                                 DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
    EXPECT_EQ(dialog->ex_style, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->width, kDialogWidth);
    EXPECT_EQ(dialog->height, kDialogHeight);
    EXPECT_TRUE(dialog->menu.empty());
    EXPECT_TRUE(dialog->window_class.empty());
    EXPECT_EQ(dialog->title, widened(kWindowTitle));
    EXPECT_EQ(dialog->point_size, kDialogFontPoints);
    EXPECT_EQ(dialog->weight, 400);
    EXPECT_EQ(dialog->italic, 0);
    EXPECT_EQ(dialog->charset, 1);
    EXPECT_EQ(dialog->typeface, widened(kDialogFont));
}

TEST(DialogResource, ControlsFollowTheLayoutTable) {
    const std::vector<std::uint8_t> bytes =
        resource_bytes(RT_DIALOG, MAKEINTRESOURCEW(TVK_MAIN_DIALOG));
    const std::optional<DialogTemplate> dialog = parse_dialog_template(bytes.data(), bytes.size());
    ASSERT_TRUE(dialog);
    ASSERT_EQ(dialog->items.size(), kControls.size());
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlLayout& control = kControls[i];
        const ItemTemplate& item = dialog->items[i];
        const ExpectedControl expected = expected_for(control);
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(control.id));
        EXPECT_EQ(item.id, control.id);
        EXPECT_EQ(item.x, control.x);
        EXPECT_EQ(item.y, control.y);
        EXPECT_EQ(item.width, control.width);
        EXPECT_EQ(item.height, control.height);
        EXPECT_EQ(item.style, expected.style);
        EXPECT_EQ(item.ex_style, 0u);
        EXPECT_EQ(item.help_id, 0u);
        EXPECT_EQ(item.window_class.ordinal, expected.window_class.ordinal);
        // Class names are matched without regard to case; the resource compiler stores capitals.
        EXPECT_EQ(upper(item.window_class.name), upper(expected.window_class.name));
        EXPECT_FALSE(item.text.ordinal);
        EXPECT_EQ(item.text.name, expected.text);
        EXPECT_EQ(item.extra_bytes, 0);
    }
}

TEST(IconResource, HoldsTheFourProgramPicturesWithAlpha) {
    const std::vector<std::uint8_t> group =
        resource_bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(TVK_APP_ICON));
    // GRPICONDIR: reserved, type 1, count; then 14-byte entries.
    ASSERT_GE(group.size(), 6u);
    const auto word_at = [&group](std::size_t offset) {
        return static_cast<WORD>(group[offset] | group[offset + 1] << 8);
    };
    ASSERT_EQ(word_at(2), 1);
    ASSERT_EQ(word_at(4), 4);
    ASSERT_EQ(group.size(), 6u + 4 * 14);
    const int sizes[] = {16, 32, 48, 256};
    for (int i = 0; i < 4; ++i) {
        const std::size_t entry = 6 + static_cast<std::size_t>(i) * 14;
        const int size = sizes[i];
        SCOPED_TRACE("icon of " + std::to_string(size) + " pixels");
        // A width or height of 256 is stored as 0.
        EXPECT_EQ(group[entry], size % 256);
        EXPECT_EQ(group[entry + 1], size % 256);
        EXPECT_EQ(word_at(entry + 6), 32);

        // The image: a 32-bit BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask.
        const std::vector<std::uint8_t> image =
            resource_bytes(RT_ICON, MAKEINTRESOURCEW(word_at(entry + 12)));
        ASSERT_GE(image.size(), 40u + static_cast<std::size_t>(size * size * 4));
        BITMAPINFOHEADER header;
        std::memcpy(&header, image.data(), sizeof header);
        EXPECT_EQ(header.biWidth, size);
        EXPECT_EQ(header.biHeight, 2 * size);
        EXPECT_EQ(header.biBitCount, 32);
        const Picture png = decode_image(program_folder() / "win32-test-data" /
                                         ("tvk-edit-" + std::to_string(size) + ".png"));
        ASSERT_EQ(png.width, size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const std::uint8_t* bgra =
                    &image[40 + static_cast<std::size_t>((size - 1 - y) * size + x) * 4];
                const std::uint32_t argb = static_cast<std::uint32_t>(bgra[3]) << 24 |
                                           static_cast<std::uint32_t>(bgra[2]) << 16 |
                                           static_cast<std::uint32_t>(bgra[1]) << 8 | bgra[0];
                ASSERT_EQ(argb, png.pixel(x, y)) << "pixel " << x << ", " << y;
            }
        }
        EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TVK_APP_ICON), IMAGE_ICON,
                             size, size, 0),
                  nullptr);
    }
}

TEST(ManifestResource, RunsAsInvokerWithCommonControlsSix) {
    const std::vector<std::uint8_t> bytes = resource_bytes(RT_MANIFEST, MAKEINTRESOURCEW(1));
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* expected :
         {"level=\"asInvoker\"", "uiAccess=\"false\"", "type=\"win32\"",
          "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""}) {
        EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
    }
    const char* architecture =
        sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(manifest.find(architecture), std::string::npos);
}

}  // namespace
}  // namespace tvk::test
