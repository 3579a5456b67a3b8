#include "widgets/line_box/line_box_accessible.h"

#include "widgets/line_box/line_box.h"
#include "widgets/line_box/text_boundaries.h"

#include <algorithm>

namespace {
QAccessibleInterface* lineBoxFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("LineBox") && object && object->isWidgetType()) {
        return new LineBoxAccessible(static_cast<LineBox*>(object));
    }
    return nullptr;
}
}  // namespace

LineBoxAccessible::LineBoxAccessible(LineBox* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

void LineBoxAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(lineBoxFactory);
        return true;
    }();
    (void)installed;
}

LineBox* LineBoxAccessible::box() const {
    return static_cast<LineBox*>(widget());
}

void* LineBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QString LineBoxAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value) {
        return box()->text();
    }
    return QAccessibleWidget::text(type);
}

void LineBoxAccessible::setText(QAccessible::Text type, const QString& text) {
    if (type == QAccessible::Value) {
        box()->setText(text);
    } else {
        QAccessibleWidget::setText(type, text);
    }
}

QAccessible::State LineBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.selectableText = true;
    state.multiLine = false;
    return state;
}

void LineBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && box()->hasSelectedText()) {
        *startOffset = int(box()->selectionStart());
        *endOffset = int(box()->selectionEnd());
    }
}

int LineBoxAccessible::selectionCount() const {
    return box()->hasSelectedText() ? 1 : 0;
}

void LineBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void LineBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        box()->deselect();
    }
}

void LineBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        box()->setSelection(startOffset, endOffset);
    }
}

int LineBoxAccessible::cursorPosition() const {
    return int(box()->cursorPosition());
}

void LineBoxAccessible::setCursorPosition(int position) {
    box()->setCursorPosition(position);
}

QString LineBoxAccessible::text(int startOffset, int endOffset) const {
    const QString line = box()->text();
    startOffset = std::clamp(startOffset, 0, int(line.size()));
    endOffset = std::clamp(endOffset, startOffset, int(line.size()));
    return line.mid(startOffset, endOffset - startOffset);
}

int LineBoxAccessible::characterCount() const {
    return int(box()->text().size());
}

void LineBoxAccessible::boundaryAt(int offset, QAccessible::TextBoundaryType type, int* start,
                                   int* end) const {
    const QString line = box()->text();
    const qsizetype at = std::clamp<qsizetype>(offset, 0, line.size());
    switch (type) {
        case QAccessible::CharBoundary:
            *start = int(TextBoundaries::graphemeStartAtOrBefore(line, at));
            *end = int(TextBoundaries::nextGrapheme(line, *start));
            break;
        case QAccessible::WordBoundary: {
            const TextBoundaries::Range word = TextBoundaries::wordAt(line, at);
            *start = int(word.start);
            *end = int(word.end);
            break;
        }
        default:  // a sentence, a paragraph, a line: the box holds a single line
            *start = 0;
            *end = int(line.size());
            break;
    }
}

QString LineBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    boundaryAt(offset, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString LineBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    int start = 0;
    int end = 0;
    boundaryAt(offset, boundaryType, &start, &end);
    if (start <= 0) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    boundaryAt(start - 1, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString LineBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
    int start = 0;
    int end = 0;
    boundaryAt(offset, boundaryType, &start, &end);
    if (end >= characterCount()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    boundaryAt(end, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QRect LineBoxAccessible::characterRect(int offset) const {
    const QRect local = box()->characterRect(offset);
    return QRect(box()->mapToGlobal(local.topLeft()), local.size());
}

int LineBoxAccessible::offsetAtPoint(const QPoint& point) const {
    return int(box()->positionAt(box()->mapFromGlobal(point)));
}

void LineBoxAccessible::scrollToSubstring(int startIndex, int endIndex) {
    // As with a line edit: the cursor goes over the stretch, which brings it into view.
    box()->setCursorPosition(endIndex);
    box()->setCursorPosition(startIndex);
}

QString LineBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return QString();
}

void LineBoxAccessible::deleteText(int startOffset, int endOffset) {
    box()->replaceText(startOffset, endOffset, QString());
}

void LineBoxAccessible::insertText(int offset, const QString& text) {
    box()->replaceText(offset, offset, text);
}

void LineBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    box()->replaceText(startOffset, endOffset, text);
}
