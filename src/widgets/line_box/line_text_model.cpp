#include "widgets/line_box/line_text_model.h"

#include "widgets/line_box/line_buffer.h"
#include "widgets/line_box/text_boundaries.h"

#include <algorithm>
#include <utility>

namespace {
// A line pasted whole gets room to grow at both ends at once (a copy the paste pays for, unless
// the text came with room), so that the first keystroke after it does not copy the whole line.
constexpr qsizetype kRoomBeforeTyping = qsizetype(1) << 16;

// A line that shrank far below its buffer gives the memory back; small slack is kept for
// typing.
void releaseSlack(QString& text) {
    constexpr qsizetype kMinSlack = qsizetype(1) << 20;
    if (text.capacity() - text.size() > kMinSlack && text.capacity() > 4 * text.size()) {
        text.squeeze();
    }
}
}  // namespace

void LineTextModel::setText(const QString& text) {
    const bool same = text_.isSharedWith(text) || text_ == text;
    const QString removed = std::exchange(text_, text);
    undo_.clear();
    redo_.clear();
    mergeable_ = false;
    cursor_ = anchor_ = text_.size();
    if (!same) {
        notifyText(0, removed, text_.size());
    }
    if (onCursorChanged) {
        onCursorChanged();
    }
}

QString LineTextModel::selectedText() const {
    return text_.mid(selectionStart(), selectionEnd() - selectionStart());
}

void LineTextModel::setCursorAndAnchor(qsizetype cursor, qsizetype anchor) {
    cursor = std::clamp<qsizetype>(cursor, 0, text_.size());
    anchor = std::clamp<qsizetype>(anchor, 0, text_.size());
    if (cursor == cursor_ && anchor == anchor_) {
        return;
    }
    cursor_ = cursor;
    anchor_ = anchor;
    if (onCursorChanged) {
        onCursorChanged();
    }
}

void LineTextModel::moveCursor(qsizetype position, bool keepAnchor) {
    mergeable_ = false;
    setCursorAndAnchor(position, keepAnchor ? anchor_ : position);
}

void LineTextModel::select(qsizetype anchor, qsizetype cursor) {
    mergeable_ = false;
    setCursorAndAnchor(cursor, anchor);
}

void LineTextModel::insert(const QString& text, EditKind kind) {
    if (text.isEmpty() && !hasSelection()) {
        return;
    }
    replace(selectionStart(), selectionEnd(), text, kind);
}

void LineTextModel::backspace() {
    if (hasSelection()) {
        removeSelection();
    } else if (cursor_ > 0) {
        replace(TextBoundaries::previousCodePoint(text_, cursor_), cursor_, QString(),
                EditKind::Deleting);
    }
}

void LineTextModel::deleteForward() {
    if (hasSelection()) {
        removeSelection();
    } else if (cursor_ < text_.size()) {
        replace(cursor_, TextBoundaries::nextGrapheme(text_, cursor_), QString(),
                EditKind::Deleting);
    }
}

void LineTextModel::deleteWordBackward() {
    if (hasSelection()) {
        removeSelection();
    } else if (cursor_ > 0) {
        replace(TextBoundaries::previousWordStart(text_, cursor_), cursor_, QString());
    }
}

void LineTextModel::deleteWordForward() {
    if (hasSelection()) {
        removeSelection();
    } else if (cursor_ < text_.size()) {
        replace(cursor_, TextBoundaries::nextWordStart(text_, cursor_), QString());
    }
}

void LineTextModel::removeSelection() {
    if (hasSelection()) {
        replace(selectionStart(), selectionEnd(), QString());
    }
}

void LineTextModel::replace(qsizetype start, qsizetype end, const QString& text, EditKind kind) {
    start = std::clamp<qsizetype>(start, 0, text_.size());
    end = std::clamp<qsizetype>(end, start, text_.size());
    if (start == end && text.isEmpty()) {
        return;
    }
    const qsizetype cursorBefore = cursor_;
    const qsizetype anchorBefore = anchor_;
    const QString removed = splice(start, end - start, text);
    record(start, removed, text.size(), kind, cursorBefore, anchorBefore);
    cursor_ = anchor_ = start + text.size();
    notifyText(start, removed, text.size());
    if (onCursorChanged) {
        onCursorChanged();
    }
}

QString LineTextModel::splice(qsizetype position, qsizetype removeLength,
                              const QString& insertText) {
    if (position == 0 && removeLength == text_.size()) {
        // The whole line is replaced (a paste into an empty box, or over Select All): share
        // the new text instead of copying it.
        QString removed = std::move(text_);
        text_ = insertText;
        if (text_.size() >= kRoomBeforeTyping && !LineBuffer::hasRoomToType(text_)) {
            LineBuffer::makeRoom(text_);
        }
        return removed;
    }
    QString removed = text_.mid(position, removeLength);
    LineBuffer::removeAt(text_, position, removeLength);
    LineBuffer::insertAt(text_, position, insertText);
    if (removeLength > insertText.size()) {
        releaseSlack(text_);
    }
    return removed;
}

bool LineTextModel::mergeInto(Step& last, qsizetype position, const QString& removed,
                              qsizetype insertedLength, EditKind kind) const {
    if (!mergeable_ || last.kind != kind || kind == EditKind::Block) {
        return false;
    }
    if (kind == EditKind::Typing && removed.isEmpty() &&
        position == last.position + last.insertedLength) {
        last.insertedLength += insertedLength;
        return true;
    }
    if (kind == EditKind::Deleting && insertedLength == 0 && last.insertedLength == 0) {
        if (position + removed.size() == last.position) {  // Backspace
            last.held.prepend(removed);
            last.position = position;
            last.removedLength += removed.size();
            return true;
        }
        if (position == last.position) {  // Delete
            last.held.append(removed);
            last.removedLength += removed.size();
            return true;
        }
    }
    return false;
}

void LineTextModel::record(qsizetype position, const QString& removed, qsizetype insertedLength,
                           EditKind kind, qsizetype cursorBefore, qsizetype anchorBefore) {
    redo_.clear();
    if (undo_.empty() || !mergeInto(undo_.back(), position, removed, insertedLength, kind)) {
        undo_.push_back(Step{position, removed.size(), insertedLength, removed, cursorBefore,
                             anchorBefore, kind});
    }
    mergeable_ = kind != EditKind::Block;
    trimHistory();
}

void LineTextModel::trimHistory() {
    qsizetype held = historySize();
    std::size_t drop = 0;
    while (undo_.size() - drop > 1 &&
           (held > kHistoryBudget || undo_.size() - drop > kMaxHistorySteps)) {
        held -= undo_[drop].held.size();
        ++drop;
    }
    undo_.erase(undo_.begin(), undo_.begin() + static_cast<std::ptrdiff_t>(drop));
}

qsizetype LineTextModel::historySize() const {
    qsizetype held = 0;
    for (const Step& step : undo_) {
        held += step.held.size();
    }
    for (const Step& step : redo_) {
        held += step.held.size();
    }
    return held;
}

void LineTextModel::undo() {
    if (undo_.empty()) {
        return;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    const QString inserted = splice(step.position, step.insertedLength, step.held);
    const qsizetype restored = step.held.size();
    step.held = inserted;
    notifyText(step.position, inserted, restored);
    redo_.push_back(std::move(step));
    mergeable_ = false;
    const Step& done = redo_.back();
    cursor_ = std::clamp<qsizetype>(done.cursorBefore, 0, text_.size());
    anchor_ = std::clamp<qsizetype>(done.anchorBefore, 0, text_.size());
    if (onCursorChanged) {
        onCursorChanged();
    }
}

void LineTextModel::redo() {
    if (redo_.empty()) {
        return;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    const qsizetype inserted = step.held.size();
    const QString removed = splice(step.position, step.removedLength, step.held);
    step.held = removed;
    notifyText(step.position, removed, inserted);
    undo_.push_back(std::move(step));
    mergeable_ = false;
    cursor_ = anchor_ = undo_.back().position + inserted;
    if (onCursorChanged) {
        onCursorChanged();
    }
}

void LineTextModel::notifyText(qsizetype position, const QString& removed,
                               qsizetype insertedLength) {
    if (onTextChanged && (!removed.isEmpty() || insertedLength > 0)) {
        onTextChanged(Change{position, removed, insertedLength});
    }
}
