#pragma once

#include <cstdint>

#include "dialog_layout.h"

// The window is laid out in dialog units, converted with the base units of its font at 96 dpi:
// MS Shell Dlg 8 pt measures 6 x 13 pixels. Qt scales these logical pixels on dense screens.
namespace tvk {

inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;
inline constexpr int kDialogUnitsPerBaseX = 4;
inline constexpr int kDialogUnitsPerBaseY = 8;

// value * numerator / denominator rounded to the nearest integer, halves away from zero, without
// overflow of the intermediate product (denominator > 0).
constexpr int mul_div(int value, int numerator, int denominator) {
    const std::int64_t product = std::int64_t{value} * numerator;
    const std::int64_t half = denominator / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

constexpr int dialog_x(int units) {
    return mul_div(units, kBaseUnitX, kDialogUnitsPerBaseX);
}
constexpr int dialog_y(int units) {
    return mul_div(units, kBaseUnitY, kDialogUnitsPerBaseY);
}

struct PixelRect {
    int x, y, width, height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Each of the four numbers is converted on its own, as a dialog template's controls are.
constexpr PixelRect control_pixels(const ControlLayout& control) {
    return {dialog_x(control.x), dialog_y(control.y), dialog_x(control.width),
            dialog_y(control.height)};
}

inline constexpr int kClientWidth = dialog_x(kDialogWidth);    // 557
inline constexpr int kClientHeight = dialog_y(kDialogHeight);  // 369

}  // namespace tvk
