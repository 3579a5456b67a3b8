#pragma once

#include <QLineEdit>

// A single-line text box that holds a line of any length: nothing the user pastes is cut.
class LineBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit LineBox(QWidget* parent = nullptr);
};
