#include "widgets/line_box/line_view.h"

#include "widgets/control_pictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextLine>

#include <algorithm>
#include <cmath>

namespace {
// The window never grows beyond this many characters on each side of the cursor, however
// narrow its characters (a run of zero-width marks would otherwise ask for the whole line).
constexpr qsizetype kMaxHalfWindow = qsizetype(1) << 14;

}  // namespace

void LineView::setFont(const QFont& font) {
    font_ = font;
    hasReference_ = false;
}

void LineView::setPictureColor(const QColor& color) {
    pictureColor_ = color;
}

void LineView::setWidth(int width) {
    width_ = std::max(width, 1);
}

void LineView::setDirection(Qt::LayoutDirection direction) {
    if (direction != direction_) {
        direction_ = direction;
        hasReference_ = false;
    }
}

void LineView::shape(const QString& text, TextWindow window, const QString& preedit) {
    window_ = window;
    layout_.clearLayout();
    layout_.setFont(font_);
    const ShownText shown =
        WithControlPictures(QStringView(text).mid(window.start, window.length()), showsSpaces_);
    layout_.setText(shown.text);
    layout_.setFormats(PictureFormats(shown, pictureColor_));
    QTextOption option;
    option.setTextDirection(direction_);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setWrapMode(QTextOption::NoWrap);
    layout_.setTextOption(option);
    layout_.setPreeditArea(preedit.isEmpty() ? -1 : int(cursor_ - window.start), preedit);
    layout_.setCacheEnabled(true);
    layout_.beginLayout();
    layout_.createLine();
    layout_.endLayout();
}

bool LineView::coversTheBox(const QString& text, qreal cursorX) const {
    const qreal natural = layout_.lineAt(0).naturalTextWidth();
    const bool startsLine = window_.start == 0;
    const bool endsLine = window_.end == text.size();
    const bool ltr = direction_ == Qt::LeftToRight;
    const bool leftOk = cursorX >= width_ || (ltr ? startsLine : endsLine);
    const bool rightOk = natural - cursorX >= width_ || (ltr ? endsLine : startsLine);
    return leftOk && rightOk;
}

void LineView::layOut(const QString& text, qsizetype cursor, const QString& preedit,
                      int preeditCursor) {
    cursor_ = std::clamp<qsizetype>(cursor, 0, text.size());
    preeditCursor_ = preeditCursor;
    preeditLength_ = preedit.size();
    const qreal average = std::max<qreal>(1.0, QFontMetricsF(font_).averageCharWidth());
    qsizetype half = qsizetype(std::ceil(1.5 * width_ / average)) + 32;
    for (;;) {
        shape(text, windowAround(text, cursor_, half, half), preedit);
        cursorX_ = layout_.lineAt(0).cursorToX(int(cursor_ - window_.start) + preeditCursor_);
        if (half >= kMaxHalfWindow || coversTheBox(text, cursorX_)) {
            break;
        }
        half *= 2;
    }
    scrollToCursor(text, cursor_);
}

void LineView::scrollToCursor(const QString& text, qsizetype cursor) {
    const QTextLine line = layout_.lineAt(0);
    const qreal natural = line.naturalTextWidth();
    const bool ltr = direction_ == Qt::LeftToRight;
    const bool wholeLine = window_.start == 0 && window_.end == text.size();
    const qreal used = natural + 1;

    if (hasReference_ && window_.contains(referencePosition_)) {
        scroll_ = line.cursorToX(int(referencePosition_ - window_.start)) - referenceX_;
    } else if (hasReference_ && (cursor > referencePosition_) == ltr) {
        scroll_ = cursorX_ - width_ + 1;  // jumped towards the right: cursor at the right edge
    } else {
        scroll_ = cursorX_;
    }

    if (wholeLine && used <= width_) {
        scroll_ = ltr ? 0 : used - width_ + 1;  // it all fits: aligned to its start
    } else {
        if (cursorX_ - scroll_ >= width_) {
            scroll_ = cursorX_ - width_ + 1;
        } else if (cursorX_ - scroll_ < 0) {
            scroll_ = cursorX_;
        }
        // Never scroll past the line's ends when they are on screen.
        const bool rightIsLineEnd = ltr ? window_.end == text.size() : window_.start == 0;
        const bool leftIsLineEnd = ltr ? window_.start == 0 : window_.end == text.size();
        if (rightIsLineEnd && used - scroll_ < width_) {
            scroll_ = used - width_ + 1;
        }
        if (leftIsLineEnd && scroll_ < 0) {
            scroll_ = 0;
        }
    }
    hasReference_ = true;
    referencePosition_ = cursor;
    referenceX_ = cursorX_ - scroll_;
}

void LineView::textEdited(qsizetype position, qsizetype removedLength, qsizetype insertedLength) {
    if (!hasReference_) {
        return;
    }
    if (referencePosition_ >= position + removedLength) {
        referencePosition_ += insertedLength - removedLength;
    } else if (referencePosition_ > position) {
        referencePosition_ = position;
    }
}

qreal LineView::xOf(qsizetype position) const {
    position = std::clamp<qsizetype>(position, window_.start, window_.end);
    int inLayout = int(position - window_.start);
    if (position > cursor_ || (position == cursor_ && preeditLength_ > 0)) {
        inLayout += int(preeditLength_);
    }
    return layout_.lineAt(0).cursorToX(inLayout) - scroll_;
}

qsizetype LineView::positionAt(qreal x) const {
    int inLayout = layout_.lineAt(0).xToCursor(x + scroll_, QTextLine::CursorBetweenCharacters);
    const qsizetype preeditStart = cursor_ - window_.start;
    if (preeditLength_ > 0 && inLayout > preeditStart) {
        inLayout = int(std::max<qsizetype>(preeditStart, inLayout - preeditLength_));
    }
    return window_.start + inLayout;
}

int LineView::lineHeight() const {
    return int(std::ceil(layout_.lineCount() > 0 ? layout_.lineAt(0).height()
                                                 : QFontMetricsF(font_).height()));
}

int LineView::ascent() const {
    return int(std::round(layout_.lineCount() > 0 ? layout_.lineAt(0).ascent()
                                                  : QFontMetricsF(font_).ascent()));
}

void LineView::draw(QPainter& painter, const QPointF& origin, const QRectF& clip,
                    Selection selection, const QPalette& palette) const {
    QList<QTextLayout::FormatRange> selections;
    const qsizetype start = std::max(selection.start, window_.start);
    const qsizetype end = std::min(selection.end, window_.end);
    if (start < end) {
        QTextLayout::FormatRange range;
        range.start = int(start - window_.start);
        range.length = int(end - start);
        range.format.setBackground(palette.brush(QPalette::Highlight));
        range.format.setForeground(palette.brush(QPalette::HighlightedText));
        selections.append(range);
    }
    layout_.draw(&painter, origin - QPointF(scroll_, 0), selections, clip);
}

void LineView::drawCursor(QPainter& painter, const QPointF& origin, int cursorWidth) const {
    layout_.drawCursor(&painter, origin - QPointF(scroll_, 0),
                       int(cursor_ - window_.start) + preeditCursor_, cursorWidth);
}
