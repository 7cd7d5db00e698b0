#pragma once

#include "editor_view.h"

namespace tvk {

// What EditorController::list_key answers when it has handled a key completely; any other answer
// lets the list handle the key as well.
inline constexpr int kListKeyHandled = -2;

// The editor's name for a Qt key pressed in the entry list.
ListKey list_key_from_qt(int qt_key);

}  // namespace tvk
