// The mouse: placing and selecting, the context menu, and dragging text out and in.
#include "widgets/line_box/line_box.h"

#include "widgets/dropped_files.h"
#include "widgets/line_box/text_boundaries.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyleHints>

#include <algorithm>
#include <utility>

void LineBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const qsizetype position = positionAt(point);
    const bool tripleClick =
        sinceDoubleClick_.isValid() &&
        sinceDoubleClick_.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval() &&
        (point - doubleClickPoint_).manhattanLength() < QApplication::startDragDistance();
    sinceDoubleClick_.invalidate();
    pressPoint_ = point;
    dragCandidate_ = false;
    if (tripleClick) {
        model_.selectAll();
    } else if (event->modifiers() & Qt::ShiftModifier) {
        model_.moveCursor(position, true);
    } else if (model_.hasSelection() && position >= model_.selectionStart() &&
               position < model_.selectionEnd()) {
        dragCandidate_ = true;  // a drag of the selection may begin
    } else {
        model_.moveCursor(position);
    }
}

void LineBox::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (dragCandidate_) {
        if ((point - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
            dragCandidate_ = false;
            startDrag();
        }
        return;
    }
    model_.moveCursor(positionAt(point), true);
}

void LineBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (dragCandidate_) {
            dragCandidate_ = false;
            model_.moveCursor(positionAt(point));  // a click in the selection places the cursor
        }
        if (QGuiApplication::clipboard()->supportsSelection()) {
            copyTo(QClipboard::Selection);
        }
    } else if (event->button() == Qt::MiddleButton &&
               QGuiApplication::clipboard()->supportsSelection() && rect().contains(point)) {
        model_.moveCursor(positionAt(point));
        pasteFrom(QClipboard::Selection);
    } else {
        QWidget::mouseReleaseEvent(event);
    }
}

void LineBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const TextBoundaries::Range word = TextBoundaries::wordAt(model_.text(), positionAt(point));
    model_.select(word.start, word.end);
    dragCandidate_ = false;
    sinceDoubleClick_.start();
    doubleClickPoint_ = point;
}

void LineBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool selection = model_.hasSelection();
    const auto add = [&](const QString& caption, QKeySequence::StandardKey key, bool enabled,
                         auto slot) {
        QAction* action = menu.addAction(caption);
        action->setShortcut(QKeySequence(key));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(tr("&Undo"), QKeySequence::Undo, model_.canUndo(), &LineBox::undo);
    add(tr("&Redo"), QKeySequence::Redo, model_.canRedo(), &LineBox::redo);
    menu.addSeparator();
    add(tr("Cu&t"), QKeySequence::Cut, selection, &LineBox::cut);
    add(tr("&Copy"), QKeySequence::Copy, selection, &LineBox::copy);
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    add(tr("&Paste"), QKeySequence::Paste, clip && clip->hasText(), &LineBox::paste);
    QAction* remove = menu.addAction(tr("Delete"));
    remove->setEnabled(selection);
    connect(remove, &QAction::triggered, this, [this] { model_.removeSelection(); });
    if (offersControlCharacters_) {
        menu.addSeparator();
        connect(menu.addAction(tr("Insert Tab")), &QAction::triggered, this,
                [this] { insertAsOneStep(QStringLiteral("\t")); });
        connect(menu.addAction(tr("Insert Line Break")), &QAction::triggered, this,
                [this] { insertAsOneStep(QStringLiteral("\n")); });
    }
    menu.addSeparator();
    add(tr("Select All"), QKeySequence::SelectAll,
        model_.length() > 0 && model_.selectionEnd() - model_.selectionStart() < model_.length(),
        &LineBox::selectAll);
    menu.exec(event->globalPos());
}

void LineBox::startDrag() {
    auto* mime = new QMimeData;
    mime->setText(model_.selectedText());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    droppedOnSelf_ = false;
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (done == Qt::MoveAction && !droppedOnSelf_ && drag->target() != this) {
        model_.removeSelection();
    }
}

QStringList LineBox::filesOf(const QMimeData* data) const {
    return acceptsFileDrops_ ? LocalFilesOf(data) : QStringList();
}

void LineBox::dragEnterEvent(QDragEnterEvent* event) {
    if (!filesOf(event->mimeData()).isEmpty()) {
        // A move would let the file manager delete the files once they are dropped.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else if (event->mimeData()->hasText()) {
        event->acceptProposedAction();
    }
}

void LineBox::dragMoveEvent(QDragMoveEvent* event) {
    const bool files = !filesOf(event->mimeData()).isEmpty();
    if (!files && !event->mimeData()->hasText()) {
        return;
    }
    dropPosition_ = positionAt(event->position().toPoint());
    if (files) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
    update();
}

void LineBox::dragLeaveEvent(QDragLeaveEvent*) {
    dropPosition_ = -1;
    update();
}

void LineBox::dropEvent(QDropEvent* event) {
    dropPosition_ = -1;
    const QStringList files = filesOf(event->mimeData());
    if (!files.isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        setFocus(Qt::MouseFocusReason);
        update();
        emit filesDropped(files, positionAt(event->position().toPoint()));
        return;
    }
    if (!event->mimeData()->hasText()) {
        return;
    }
    const qsizetype position = positionAt(event->position().toPoint());
    const bool fromHere = event->source() == this;
    if (fromHere && event->dropAction() == Qt::MoveAction) {
        event->setDropAction(Qt::MoveAction);
        droppedOnSelf_ = true;
    } else {
        event->acceptProposedAction();
    }
    dropText(event->mimeData()->text(), position,
             fromHere && event->dropAction() == Qt::MoveAction);
    event->accept();
    setFocus(Qt::MouseFocusReason);
}

void LineBox::insertDroppedText(qsizetype position, const QString& text) {
    dropText(text, std::clamp<qsizetype>(position, 0, model_.text().size()), false);
}

void LineBox::dropText(const QString& text, qsizetype position, bool moveFromHere) {
    const qsizetype start = model_.selectionStart();
    const qsizetype end = model_.selectionEnd();
    if (moveFromHere && position >= start && position <= end) {
        return;  // dropped onto itself: nothing moves
    }
    model_.separate();
    if (moveFromHere && position > end) {
        model_.replace(position, position, text);
        model_.replace(start, end, QString());
        position -= end - start;
    } else {
        if (moveFromHere) {
            model_.replace(start, end, QString());
        }
        model_.replace(position, position, text);
    }
    model_.select(position, position + text.size());
}
