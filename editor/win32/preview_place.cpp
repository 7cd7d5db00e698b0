#include "preview_place.h"

#include "dialog_layout.h"
#include "screen_format.h"

namespace tvk {
namespace {

// The base units the preview's place is given for.
constexpr SIZE kStandardBaseUnits{6, 13};

}  // namespace

SIZE dialog_base_units(HWND dialog) {
    // One base unit is four dialog units across and eight down.
    RECT units{0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    return {units.right, units.bottom};
}

RECT preview_rect_for(SIZE base_units) {
    const int left = MulDiv(kPreviewLeft, base_units.cx, kStandardBaseUnits.cx);
    const int top = MulDiv(kPreviewTop, base_units.cy, kStandardBaseUnits.cy);
    return {left, top, left + kScreenWidth, top + kScreenHeight};
}

RECT preview_place(HWND dialog) {
    return preview_rect_for(dialog_base_units(dialog));
}

}  // namespace tvk
