#include "widgets/report_list/row_text_drawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextLayout>

namespace {
QPalette::ColorGroup colorGroupOf(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

void layOut(QTextLayout& layout, const QString& text, const QStyleOptionViewItem& option,
            const QList<QTextLayout::FormatRange>& formats) {
    layout.clearLayout();
    layout.setText(text);
    layout.setFont(option.font);
    QTextOption textOption;
    textOption.setTextDirection(option.direction);
    textOption.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(textOption);
    layout.setFormats(formats);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}
}  // namespace

void DrawRowTextWithPictures(QPainter& painter, const QStyleOptionViewItem& option,
                             const ShownText& shown, const QWidget* widget) {
    const QStyle* style = widget->style();
    // The same place and margin as the style gives an item's text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    QStyleOptionViewItem withText = option;
    withText.text = shown.text;
    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &withText, widget)
                           .adjusted(margin, 0, -margin, 0);
    if (area.width() <= 0) {
        return;
    }
    const QPalette::ColorGroup group = colorGroupOf(option);
    const bool selected = option.state & QStyle::State_Selected;
    const QColor textColor =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor pictureColor =
        selected ? textColor : option.palette.color(group, QPalette::PlaceholderText);
    const QList<QTextLayout::FormatRange> formats = PictureFormats(shown, pictureColor);

    QTextLayout layout;
    layOut(layout, shown.text, option, formats);
    if (layout.lineAt(0).naturalTextWidth() > area.width()) {
        const qreal ellipsis = QFontMetricsF(option.font).horizontalAdvance(QChar(0x2026));
        const int cut =
            layout.lineAt(0).xToCursor(area.width() - ellipsis, QTextLine::CursorOnCharacter);
        layOut(layout, shown.text.left(cut) + QChar(0x2026), option, formats);
    }
    const QTextLine line = layout.lineAt(0);
    // On the baseline the style gives a row of the list's own font, in whole pixels, so that
    // a picture taken from a taller fallback font moves no row up or down.
    const QFontMetrics metrics(option.font);
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    const qreal y = baseline - line.ascent();
    const qreal x = option.direction == Qt::RightToLeft ? area.right() + 1 - line.naturalTextWidth()
                                                        : area.left();
    painter.save();
    painter.setPen(textColor);
    painter.setClipRect(area);
    layout.draw(&painter, QPointF(x, y));
    painter.restore();
}
