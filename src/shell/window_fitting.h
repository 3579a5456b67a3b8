#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Both windows have a fixed, designed size. On a screen too small for it (a high scale factor, a
// large font, a small laptop) the window is kept inside the screen's available area, title bar
// included, and its controls move into a scrolling view at their designed places; where the
// window fits, it is shown exactly as designed.
namespace WindowFitting {
// Shows `window` centred in the available area of its screen, `firstControl` holding the focus.
void showCentred(QWidget* window, QWidget* firstControl);
// The same within `area`, for a window frame of `frame` around the window's own area.
void showCentredIn(QWidget* window, QWidget* firstControl, const QRect& area,
                   const QMargins& frame);
}  // namespace WindowFitting
