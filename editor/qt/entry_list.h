#pragma once

#include <QListWidget>

namespace tvk {

// The entry list: one selected row at most, kept in the order the rows were added. Like a
// single-selection list box, the user can move the selection but never clear it: a click below the
// last row or a Ctrl+click on the selected row leaves it as it is.
class EntryList : public QListWidget {
  public:
    explicit EntryList(QWidget* parent);

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

}  // namespace tvk
