#pragma once

#include <QListWidget>
#include <functional>

namespace tvk {

// The entry list: one selected row at most, kept in the order the rows were added. Like a
// single-selection list box, the user can move the selection but never clear it: a click below the
// last row or a Ctrl+click on the selected row leaves it as it is.
class EntryList : public QListWidget {
  public:
    explicit EntryList(QWidget* parent);

    // Called when the user clicks the row that is already selected.
    void on_reselected(std::function<void()> handler) { m_reselected = std::move(handler); }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    std::function<void()> m_reselected;
};

}  // namespace tvk
