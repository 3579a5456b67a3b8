// Input methods: composing text at the cursor and telling the method about the text around.
#include "widgets/line_box/line_box.h"

#include <QInputMethodEvent>

#include <algorithm>

namespace {
// An input method sees this much text on each side of the cursor, not the whole line.
constexpr qsizetype kSurroundingText = 512;
}  // namespace

void LineBox::inputMethodEvent(QInputMethodEvent* event) {
    const bool committing = !event->commitString().isEmpty() || event->replacementLength() > 0;
    if (committing) {
        qsizetype start = model_.selectionStart();
        qsizetype end = model_.selectionEnd();
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            start = model_.cursor() + event->replacementStart();
            end = start + event->replacementLength();
        }
        model_.replace(start, end, event->commitString(), LineTextModel::EditKind::Typing);
    }
    preedit_ = event->preeditString();
    preeditCursor_ = int(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes()) {
        if (attribute.type == QInputMethodEvent::Cursor) {
            preeditCursor_ = std::clamp(attribute.start, 0, int(preedit_.size()));
        } else if (attribute.type == QInputMethodEvent::Selection && preedit_.isEmpty()) {
            const qsizetype base = model_.cursor() - std::min(model_.cursor(), kSurroundingText);
            model_.select(base + attribute.start, base + attribute.start + attribute.length);
        }
    }
    layoutDirty_ = true;
    update();
    updateMicroFocus();
    event->accept();
}

QVariant LineBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    const qsizetype cursor = model_.cursor();
    const qsizetype surroundingStart = cursor - std::min(cursor, kSurroundingText);
    const QString& text = model_.text();
    switch (query) {
        case Qt::ImEnabled:
            return isEnabled();
        case Qt::ImCursorRectangle:
            return cursorRect();
        case Qt::ImAnchorRectangle:
            return characterRect(model_.anchor());
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return int(cursor - surroundingStart);
        case Qt::ImAnchorPosition:
            return int(std::clamp(model_.anchor(), surroundingStart, cursor + kSurroundingText) -
                       surroundingStart);
        case Qt::ImAbsolutePosition:
            return qlonglong(cursor);
        case Qt::ImSurroundingText:
            return text.mid(surroundingStart, cursor - surroundingStart + kSurroundingText);
        case Qt::ImCurrentSelection:
            return model_.selectionEnd() - model_.selectionStart() <= kSurroundingText
                       ? model_.selectedText()
                       : QString();
        case Qt::ImTextBeforeCursor:
            return text.mid(surroundingStart, cursor - surroundingStart);
        case Qt::ImTextAfterCursor:
            return text.mid(cursor, kSurroundingText);
        case Qt::ImMaximumTextLength:
            return QVariant();  // no limit
        case Qt::ImHints:
            return int(inputMethodHints());
        case Qt::ImReadOnly:
            return false;
        default:
            return QWidget::inputMethodQuery(query);
    }
}
