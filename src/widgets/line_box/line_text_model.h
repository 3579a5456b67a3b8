#pragma once

#include <QString>

#include <functional>
#include <vector>

// The text of a line box with its cursor, selection and undo history, without any drawing.
// The text is one QString that callers share; no edit keeps a second copy of the whole line,
// and the history keeps only what undoing and redoing need (for a paste into an empty box,
// just two numbers). Typing at either end of a huge line moves no text (see LineBuffer).
class LineTextModel {
  public:
    // How an edit joins the history: typing and deleting key by key merge into one step, as
    // a person expects from Ctrl+Z; a paste or a drop is always a step of its own.
    enum class EditKind { Typing, Deleting, Block };

    // What an edit did, for the view and for screen readers.
    struct Change {
        qsizetype position = 0;
        QString removed;
        qsizetype insertedLength = 0;
    };

    const QString& text() const { return text_; }
    qsizetype length() const { return text_.size(); }

    // Replaces the whole text, forgets the history, puts the cursor at the end.
    void setText(const QString& text);

    qsizetype cursor() const { return cursor_; }
    qsizetype anchor() const { return anchor_; }
    bool hasSelection() const { return cursor_ != anchor_; }
    qsizetype selectionStart() const { return std::min(cursor_, anchor_); }
    qsizetype selectionEnd() const { return std::max(cursor_, anchor_); }
    QString selectedText() const;

    // Positions are clamped to the text; keepAnchor extends the selection.
    void moveCursor(qsizetype position, bool keepAnchor = false);
    void select(qsizetype anchor, qsizetype cursor);
    void selectAll() { select(0, text_.size()); }
    void deselect() { moveCursor(cursor_); }

    // Editing at the cursor: each replaces the selection when there is one.
    void insert(const QString& text, EditKind kind = EditKind::Typing);
    void backspace();
    void deleteForward();
    void deleteWordBackward();
    void deleteWordForward();
    void removeSelection();
    // Editing anywhere (screen readers, input methods, drops); one undo step.
    void replace(qsizetype start, qsizetype end, const QString& text,
                 EditKind kind = EditKind::Block);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void undo();
    void redo();
    // Ends the merging of typed characters into the current undo step.
    void separate() { mergeable_ = false; }

    // Characters the history holds beyond the text itself.
    qsizetype historySize() const;
    // The oldest steps are forgotten when the history holds more than this many characters;
    // the newest step is always kept, however large.
    static constexpr qsizetype kHistoryBudget = qsizetype(1) << 24;
    static constexpr std::size_t kMaxHistorySteps = 1000;

    std::function<void(const Change&)> onTextChanged;
    std::function<void()> onCursorChanged;  // cursor or selection moved

  private:
    struct Step {
        qsizetype position = 0;
        qsizetype removedLength = 0;
        qsizetype insertedLength = 0;
        QString held;  // undo: the removed text; redo: the inserted text
        qsizetype cursorBefore = 0;
        qsizetype anchorBefore = 0;
        EditKind kind = EditKind::Block;
    };

    // Applies an edit and returns the removed text.
    QString splice(qsizetype position, qsizetype removeLength, const QString& insertText);
    void record(qsizetype position, const QString& removed, qsizetype insertedLength, EditKind kind,
                qsizetype cursorBefore, qsizetype anchorBefore);
    bool mergeInto(Step& last, qsizetype position, const QString& removed, qsizetype insertedLength,
                   EditKind kind) const;
    void trimHistory();
    void setCursorAndAnchor(qsizetype cursor, qsizetype anchor);
    void notifyText(qsizetype position, const QString& removed, qsizetype insertedLength);

    QString text_;
    qsizetype cursor_ = 0;
    qsizetype anchor_ = 0;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    bool mergeable_ = false;
};
