#include "list_keys.h"

#include <Qt>

namespace tvk {

ListKey list_key_from_qt(int qt_key) {
    switch (qt_key) {
        case Qt::Key_Up:
            return ListKey::up;
        case Qt::Key_Down:
            return ListKey::down;
        case Qt::Key_Insert:
            return ListKey::insert;
        case Qt::Key_Delete:
            return ListKey::del;
        default:
            return ListKey::other;
    }
}

}  // namespace tvk
