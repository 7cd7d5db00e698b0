#include "dialog_units.h"

#include <gtest/gtest.h>

namespace tvk {
namespace {

TEST(DialogUnits, RoundHalvesAwayFromZeroLikeMulDiv) {
    EXPECT_EQ(mul_div(7, 6, 4), 11);     // 10.5
    EXPECT_EQ(mul_div(5, 6, 4), 8);      // 7.5
    EXPECT_EQ(mul_div(-7, 6, 4), -11);   // -10.5
    EXPECT_EQ(mul_div(77, 13, 8), 125);  // 125.125
    EXPECT_EQ(mul_div(25, 13, 8), 41);   // 40.625
    EXPECT_EQ(mul_div(0, 13, 8), 0);
    // The product would overflow 32 bits.
    EXPECT_EQ(mul_div(1 << 30, 6, 4), 1610612736);
}

TEST(DialogUnits, ClientAreaOfTheTemplate) {
    EXPECT_EQ(kClientWidth, 557);   // 371 * 6 / 4 = 556.5
    EXPECT_EQ(kClientHeight, 369);  // 227 * 13 / 8 = 368.875
}

TEST(DialogUnits, EachNumberOfAControlIsConvertedOnItsOwn) {
    // x + width rounds to 546, but x and width round separately to 368 and 84.
    const ControlLayout set_screen{kSetScreenId, ControlKind::button, "", 245, 172, 56, 16};
    EXPECT_EQ(control_pixels(set_screen), (PixelRect{368, 280, 84, 26}));
}

}  // namespace
}  // namespace tvk
