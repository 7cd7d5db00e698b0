#pragma once

#include <QLabel>
#include <QUrl>

namespace tvk {

// A link that opens its target through the desktop, from a click or, once it has the keyboard
// focus, from Enter or Space. One Tab stop for the whole link.
class LinkLabel : public QLabel {
  public:
    LinkLabel(const QString& text, const QUrl& target, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void open_target() const;

    QUrl m_target;
};

}  // namespace tvk
