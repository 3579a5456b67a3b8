#pragma once

#include <QString>

class LineBox;
class QGroupBox;
class QPushButton;
class QWidget;
class ReportList;

// The controls both windows are made of, in their designed fonts and places (in twips).
namespace WindowControls {
// A push button; Enter presses it while it has the focus, as Space does.
QPushButton* button(QWidget* parent, const QString& caption, int left, int top, int width,
                    int height);
QGroupBox* frame(QWidget* parent, const QString& caption, int left, int top, int width, int height);
// A frame's single-line text box, named after the frame for screen readers, as a person
// names it.
LineBox* frameTextBox(QGroupBox* frame);
ReportList* list(QWidget* parent, int left, int top, int width, int height);
}  // namespace WindowControls
