#pragma once

#include "widgets/control_pictures.h"

class QPainter;
class QStyleOptionViewItem;
class QWidget;

// Draws a row's text with its control characters as muted pictures, where the style would
// draw the text: the item must already be drawn without it. Cut at the right with "…" as the
// style cuts a row that is too long.
void DrawRowTextWithPictures(QPainter& painter, const QStyleOptionViewItem& option,
                             const ShownText& shown, const QWidget* widget);
