// The Events list: one line per G-force event. Empty, it shows its accessible description in its
// middle, so what a screen reader says ("No G-force events") is also what the eye sees, rather than
// a blank white box nobody can name. Whoever fills the list sets the description before the list
// next paints (filling it repaints it).
#pragma once

#include <QListWidget>

class CEventList : public QListWidget {
    Q_OBJECT
  public:
    explicit CEventList(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
