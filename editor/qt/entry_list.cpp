#include "entry_list.h"

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

}  // namespace tvk
