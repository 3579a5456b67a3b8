#include "platform/line_box/line_box.h"

#include <limits>

LineBox::LineBox(QWidget* parent) : QLineEdit(parent) {
    // QLineEdit cuts at 32,767 characters by default, silently.
    setMaxLength(std::numeric_limits<int>::max());
}
