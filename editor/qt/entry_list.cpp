#include "entry_list.h"

#include <QMouseEvent>

namespace tvk {

EntryList::EntryList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    // Long names are cut at the right edge; the list scrolls vertically only.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QItemSelectionModel::SelectionFlags EntryList::selectionCommand(const QModelIndex& index,
                                                                const QEvent*) const {
    return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
}

void EntryList::mousePressEvent(QMouseEvent* event) {
    const QModelIndex clicked = indexAt(event->position().toPoint());
    const bool again = clicked.isValid() && selectionModel()->isSelected(clicked);
    QListWidget::mousePressEvent(event);
    if (again && event->button() == Qt::LeftButton && m_reselected) {
        m_reselected();
    }
}

}  // namespace tvk
