#pragma once

#include "widgets/line_box/text_window.h"

#include <QFont>
#include <QTextLayout>

class QPainter;
class QPalette;

// Lays out and draws the part of a line that the box shows. Only a window of the text around
// the cursor is shaped, a little wider than the box on each side, so the cost of every
// keystroke, cursor move and repaint depends on the box's width, not on the line's length.
// Horizontal scrolling follows a line edit: the cursor stays in view and the text keeps its
// place on screen while the cursor moves within it.
class LineView {
  public:
    void setFont(const QFont& font);
    void setWidth(int width);
    // Tabs, line breaks and other control characters are drawn as pictures in this colour.
    void setPictureColor(const QColor& color);
    // Spaces drawn as pictures too, for boxes whose few characters are each one that counts.
    void setShowsSpaces(bool shows) { showsSpaces_ = shows; }
    int width() const { return width_; }

    // The paragraph direction decides which side the line starts on; the box sets it from
    // the text as a line edit does.
    void setDirection(Qt::LayoutDirection direction);
    Qt::LayoutDirection direction() const { return direction_; }

    // Lays out the window around the cursor, with the input method's uncommitted text at
    // the cursor, and scrolls so that the cursor can be seen.
    void layOut(const QString& text, qsizetype cursor, const QString& preedit = QString(),
                int preeditCursor = 0);
    // Keeps the text on screen in place across an edit elsewhere in the line.
    void textEdited(qsizetype position, qsizetype removedLength, qsizetype insertedLength);
    // Scrolls so that a stretch of text starts at the left (or right) edge next time.
    void forgetScroll() { hasReference_ = false; }

    const TextWindow& window() const { return window_; }
    // In the box's text coordinates: 0 is the left edge of the text area.
    qreal xOf(qsizetype position) const;
    qsizetype positionAt(qreal x) const;
    qreal cursorX() const { return cursorX_ - scroll_; }
    int lineHeight() const;
    int ascent() const;

    struct Selection {
        qsizetype start = 0;
        qsizetype end = 0;
    };
    void draw(QPainter& painter, const QPointF& origin, const QRectF& clip, Selection selection,
              const QPalette& palette) const;
    void drawCursor(QPainter& painter, const QPointF& origin, int cursorWidth) const;

  private:
    void shape(const QString& text, TextWindow window, const QString& preedit);
    bool coversTheBox(const QString& text, qreal cursorX) const;
    void scrollToCursor(const QString& text, qsizetype cursor);

    QFont font_;
    QColor pictureColor_;
    bool showsSpaces_ = false;
    int width_ = 0;
    Qt::LayoutDirection direction_ = Qt::LeftToRight;
    QTextLayout layout_;
    TextWindow window_;
    qsizetype cursor_ = 0;
    int preeditCursor_ = 0;
    qsizetype preeditLength_ = 0;
    qreal cursorX_ = 0;  // in layout coordinates
    qreal scroll_ = 0;   // layout x shown at the left edge of the text area
    // A position and where it was on screen at the last layout, to keep the text in place.
    bool hasReference_ = false;
    qsizetype referencePosition_ = 0;
    qreal referenceX_ = 0;
};
