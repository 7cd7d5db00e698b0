#pragma once

#include "editor_view.h"

namespace tvk {

// The editor's name for a Qt key pressed in the entry list.
ListKey list_key_from_qt(int qt_key);

}  // namespace tvk
