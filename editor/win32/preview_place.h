#pragma once

#include <windows.h>

namespace tvk {

// The dialog's base units, as its template font gives them: the width of an average character in
// pixels, and the height of a character cell.
SIZE dialog_base_units(HWND dialog);

// The preview's rectangle in the dialog's client area for the given base units. With the standard
// 6 x 13 it is the 120 x 112 pixels at (400, 157); its origin scales with the units as the
// controls around it do, so they keep clear of it. The picture keeps its size, which leaves it no
// room between the buttons above and below once a unit is less than 12 pixels high.
RECT preview_rect_for(SIZE base_units);

// The preview's rectangle in this dialog: the one the view paints and invalidates.
RECT preview_place(HWND dialog);

}  // namespace tvk
