#pragma once

#include "widgets/line_box/line_text_model.h"
#include "widgets/line_box/line_view.h"

#include <QBasicTimer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPoint>
#include <QWidget>

class QMimeData;
class QStyleOptionFrame;

// A single-line text box that holds a line of any length, hundreds of megabytes included:
// nothing the user pastes is cut or changed, and it lays out only what is on screen, so
// typing, moving and painting take the same time on any line. It behaves like a line edit
// for the user, the keyboard, the mouse, input methods and screen readers.
class LineBox : public QWidget {
    Q_OBJECT
  public:
    explicit LineBox(QWidget* parent = nullptr);
    ~LineBox() override;

    // The line exactly as held; a shallow copy, so asking for it costs nothing.
    const QString& text() const { return model_.text(); }
    void setText(const QString& text);

    qsizetype cursorPosition() const { return model_.cursor(); }
    void setCursorPosition(qsizetype position);
    bool hasSelectedText() const { return model_.hasSelection(); }
    QString selectedText() const { return model_.selectedText(); }
    qsizetype selectionStart() const { return model_.selectionStart(); }
    qsizetype selectionEnd() const { return model_.selectionEnd(); }
    void setSelection(qsizetype anchor, qsizetype cursor);
    // An edit of any stretch of the line, as one undo step (screen readers use this).
    void replaceText(qsizetype start, qsizetype end, const QString& text);
    // Inserts text as a drop of text does: one undo step, the inserted text selected.
    void insertDroppedText(qsizetype position, const QString& text);
    // Whether files dragged from a file manager land here: a drop of them then says which files
    // and where (filesDropped) instead of inserting their addresses as text.
    void setAcceptsFileDrops(bool accepts) { acceptsFileDrops_ = accepts; }
    // Whether the context menu offers "Insert Tab" and "Insert Line Break": the Tab key moves
    // the focus and Enter starts the work, so a box that takes a delimiter needs another way.
    void offerControlCharacterEntries(bool offer) {
        offersControlCharacters_ = offer;
        view_.setShowsSpaces(offer);  // a delimiter's spaces count as much as its other marks
    }
    bool isUndoAvailable() const { return model_.canUndo(); }

    // Geometry of the text inside the box, in widget coordinates.
    QRect cursorRect() const;
    QRect characterRect(qsizetype position) const;
    qsizetype positionAt(const QPoint& point) const;
    // The stretch of the line that is laid out for the screen.
    TextWindow laidOutWindow() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  public slots:
    void selectAll();
    void deselect();
    void undo();
    void redo();
    void cut();
    void copy() const;
    void paste();
    void clear();

  signals:
    void textChanged(const QString& text);
    void cursorPositionChanged();
    void selectionChanged();
    // Local files dropped on the box, in the order the drag gave them, and the position in the
    // line where they landed.
    void filesDropped(const QStringList& paths, qsizetype position);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void initStyleOption(QStyleOptionFrame* option) const;
    QRect textArea() const;
    void ensureLayout() const;
    void relayout();
    void textWasChanged(const LineTextModel::Change& change);
    void cursorWasMoved();
    void updateDirection();
    void restartBlinking();
    bool handleEditingKey(QKeyEvent* event);
    bool handleMovingKey(QKeyEvent* event);
    void moveForward(bool visualRight, bool mark, bool byWord);
    void pasteFrom(QClipboard::Mode mode);
    void insertAsOneStep(const QString& text);
    void copyTo(QClipboard::Mode mode) const;
    void startDrag();
    // The files a drag brings that this box takes; none when it takes none.
    QStringList filesOf(const QMimeData* data) const;
    void dropText(const QString& text, qsizetype position, bool moveFromHere);
    void notifyScreenReaders(const LineTextModel::Change& change);

    LineTextModel model_;
    mutable LineView view_;
    mutable bool layoutDirty_ = true;
    Qt::LayoutDirection textDirection_ = Qt::LeftToRight;
    QString preedit_;
    int preeditCursor_ = 0;

    QBasicTimer blinkTimer_;
    bool cursorOn_ = true;
    qsizetype dropPosition_ = -1;  // where a text being dragged over would land
    bool dragCandidate_ = false;   // the press was inside the selection
    bool droppedOnSelf_ = false;
    bool acceptsFileDrops_ = false;
    bool offersControlCharacters_ = false;
    QPoint pressPoint_;
    QElapsedTimer sinceDoubleClick_;
    QPoint doubleClickPoint_;
    qsizetype notifiedCursor_ = 0;
    bool notifiedSelection_ = false;
};
