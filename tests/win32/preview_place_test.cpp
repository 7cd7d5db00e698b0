#include "preview_place.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "dialog_layout.h"
#include "dialog_template.h"
#include "resource_ids.h"
#include "test_images.h"

namespace tvk::test {
namespace {

struct PlaceCase {
    SIZE base_units;
    RECT expected;
};

TEST(PreviewPlaceTest, OriginScalesWithTheBaseUnitsAndThePictureKeepsItsSize) {
    const PlaceCase cases[] = {
        {{6, 13}, {400, 157, 520, 269}}, {{6, 12}, {400, 145, 520, 257}},  // 157 * 12 / 13 = 144.9
        {{7, 13}, {467, 157, 587, 269}},                                   // 400 * 7 / 6 = 466.7
        {{8, 16}, {533, 193, 653, 305}},                                   // 533.3, 193.2
        {{9, 18}, {600, 217, 720, 329}},                                   // 217.4
        {{5, 11}, {333, 133, 453, 245}},                                   // 333.3, 132.8
    };
    for (const PlaceCase& place : cases) {
        const RECT actual = preview_rect_for(place.base_units);
        SCOPED_TRACE(std::to_string(place.base_units.cx) + " x " +
                     std::to_string(place.base_units.cy));
        EXPECT_EQ(actual.left, place.expected.left);
        EXPECT_EQ(actual.top, place.expected.top);
        EXPECT_EQ(actual.right, place.expected.right);
        EXPECT_EQ(actual.bottom, place.expected.bottom);
    }
}

// The program's dialog template with another font, and the base units that font gives.
struct FontCase {
    const wchar_t* face;
    WORD points;
    WORD weight;
    SIZE base_units;
};

std::ostream& operator<<(std::ostream& out, const FontCase& font) {
    return out << std::string(font.face, font.face + std::wcslen(font.face)) << " " << font.points
               << " " << font.weight;
}

class PreviewUnderFontTest : public DialogTest, public ::testing::WithParamInterface<FontCase> {
  protected:
    PreviewUnderFontTest()
        : DialogTest(with_dialog_font(resource_bytes(RT_DIALOG, MAKEINTRESOURCEW(TVK_MAIN_DIALOG)),
                                      GetParam().face, GetParam().points, GetParam().weight)) {}
};

TEST_P(PreviewUnderFontTest, NoControlCoversThePreviewAndItShowsTheSelectedScreen) {
    const SIZE units = dialog_base_units(dialog);
    EXPECT_TRUE(units.cx == GetParam().base_units.cx && units.cy == GetParam().base_units.cy)
        << "this font gives base units " << units.cx << " x " << units.cy << ", not "
        << GetParam().base_units.cx << " x " << GetParam().base_units.cy << "; the font found is "
        << font_in_use(dialog);

    const RECT place = preview_place(dialog);
    RECT client{};
    GetClientRect(dialog, &client);
    RECT inside{};
    IntersectRect(&inside, &place, &client);
    EXPECT_TRUE(EqualRect(&inside, &place)) << "the preview reaches out of the window";
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT control = client_rect_of(dialog, child);
        RECT overlap{};
        EXPECT_FALSE(IntersectRect(&overlap, &control, &place))
            << "control " << GetDlgCtrlID(child) << " covers the preview";
    }

    const PixelGrid picture = make_grid(
        [](int x, int y) { return static_cast<ColourValue>(((x / 8 + y / 8) % 4) * 0x3F2A15); });
    write_archive(folder / "TVK.DAT", {{"Only", picture}});
    open(folder / "TVK.DAT");
    pick_row(0);
    EXPECT_EQ(preview(), picture);
}

// Wine's own fonts, whose sizes are the same on every machine, and the font a prefix without them
// falls back to.
INSTANTIATE_TEST_SUITE_P(
    Fonts, PreviewUnderFontTest,
    ::testing::Values(FontCase{L"MS Shell Dlg", 8, FW_NORMAL, {6, 13}},  // the program's own
                      FontCase{L"Wingdings", 8, FW_BOLD, {6, 12}},
                      FontCase{L"Tahoma", 8, FW_BOLD, {7, 13}},
                      FontCase{L"DejaVu Sans", 8, FW_NORMAL, {7, 13}},
                      FontCase{L"Tahoma", 9, FW_NORMAL, {7, 14}},
                      FontCase{L"Tahoma", 10, FW_BOLD, {8, 16}}));

}  // namespace
}  // namespace tvk::test
