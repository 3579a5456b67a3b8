// The keyboard, as a line edit answers it.
#include "widgets/line_box/line_box.h"

#include "widgets/line_box/text_boundaries.h"

#include <QKeyEvent>

namespace {
bool isTypedText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    const QChar first = text.at(0);
    return first.isPrint() || first.isSurrogate();
}
}  // namespace

bool LineBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Keys the box edits with are not taken by the window's shortcuts.
        auto* key = static_cast<QKeyEvent*>(event);
        static const QKeySequence::StandardKey owned[] = {
            QKeySequence::Copy,
            QKeySequence::Paste,
            QKeySequence::Cut,
            QKeySequence::Redo,
            QKeySequence::Undo,
            QKeySequence::SelectAll,
            QKeySequence::MoveToNextWord,
            QKeySequence::MoveToPreviousWord,
            QKeySequence::MoveToStartOfLine,
            QKeySequence::MoveToEndOfLine,
            QKeySequence::MoveToStartOfDocument,
            QKeySequence::MoveToEndOfDocument,
            QKeySequence::SelectNextWord,
            QKeySequence::SelectPreviousWord,
            QKeySequence::SelectStartOfLine,
            QKeySequence::SelectEndOfLine,
            QKeySequence::SelectStartOfDocument,
            QKeySequence::SelectEndOfDocument,
            QKeySequence::DeleteStartOfWord,
            QKeySequence::DeleteEndOfWord,
        };
        bool mine = isTypedText(key) || key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
        for (const QKeySequence::StandardKey standard : owned) {
            mine = mine || key->matches(standard);
        }
        if (mine) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void LineBox::moveForward(bool visualRight, bool mark, bool byWord) {
    // In a right-to-left line the right arrow goes towards the line's start.
    const bool forward = visualRight == (textDirection_ == Qt::LeftToRight);
    const QString& text = model_.text();
    const qsizetype cursor = model_.cursor();
    if (!mark && !byWord && model_.hasSelection()) {
        model_.moveCursor(forward ? model_.selectionEnd() : model_.selectionStart());
        return;
    }
    qsizetype target = 0;
    if (byWord) {
        target = forward ? TextBoundaries::nextWordStart(text, cursor)
                         : TextBoundaries::previousWordStart(text, cursor);
    } else {
        target = forward ? TextBoundaries::nextGrapheme(text, cursor)
                         : TextBoundaries::previousGrapheme(text, cursor);
    }
    model_.moveCursor(target, mark);
}

bool LineBox::handleMovingKey(QKeyEvent* event) {
    const qsizetype end = model_.length();
    if (event->matches(QKeySequence::MoveToNextChar)) {
        moveForward(true, false, false);
    } else if (event->matches(QKeySequence::MoveToPreviousChar)) {
        moveForward(false, false, false);
    } else if (event->matches(QKeySequence::SelectNextChar)) {
        moveForward(true, true, false);
    } else if (event->matches(QKeySequence::SelectPreviousChar)) {
        moveForward(false, true, false);
    } else if (event->matches(QKeySequence::MoveToNextWord)) {
        moveForward(true, false, true);
    } else if (event->matches(QKeySequence::MoveToPreviousWord)) {
        moveForward(false, false, true);
    } else if (event->matches(QKeySequence::SelectNextWord)) {
        moveForward(true, true, true);
    } else if (event->matches(QKeySequence::SelectPreviousWord)) {
        moveForward(false, true, true);
    } else if (event->matches(QKeySequence::MoveToStartOfLine) ||
               event->matches(QKeySequence::MoveToStartOfBlock) ||
               event->matches(QKeySequence::MoveToStartOfDocument)) {
        model_.moveCursor(0);
    } else if (event->matches(QKeySequence::MoveToEndOfLine) ||
               event->matches(QKeySequence::MoveToEndOfBlock) ||
               event->matches(QKeySequence::MoveToEndOfDocument)) {
        model_.moveCursor(end);
    } else if (event->matches(QKeySequence::SelectStartOfLine) ||
               event->matches(QKeySequence::SelectStartOfBlock) ||
               event->matches(QKeySequence::SelectStartOfDocument)) {
        model_.moveCursor(0, true);
    } else if (event->matches(QKeySequence::SelectEndOfLine) ||
               event->matches(QKeySequence::SelectEndOfBlock) ||
               event->matches(QKeySequence::SelectEndOfDocument)) {
        model_.moveCursor(end, true);
    } else if (event->matches(QKeySequence::SelectAll)) {
        model_.selectAll();
    } else {
        return false;
    }
    return true;
}

bool LineBox::handleEditingKey(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        model_.deleteWordBackward();
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        model_.deleteWordForward();
    } else if (event->matches(QKeySequence::Delete)) {
        model_.deleteForward();
    } else if (event->key() == Qt::Key_Backspace &&
               !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        model_.backspace();
    } else if (isTypedText(event)) {
        model_.insert(event->text());
    } else {
        return false;
    }
    return true;
}

void LineBox::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape belong to the dialog the box sits in.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    if (handleMovingKey(event) || handleEditingKey(event)) {
        event->accept();
        return;
    }
    event->ignore();
}
