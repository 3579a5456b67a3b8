#pragma once

#include "core/row_tidying.h"
#include "list_tidying/list_work_runner.h"
#include "list_tidying/row_history.h"

#include <QObject>

#include <functional>
#include <memory>

class OneLineCopy;
class ProgressBar;
class QAction;
class QMenu;
class ReportList;
class WindowMousePointer;
struct Platform;

// The context menu of a results list and what it does: copy the selected row, tidy the rows
// in place (trim, drop empty or repeated rows, sort), undo and redo. The list shows its row
// count in its header and, for a few seconds after each change, what the change did; a button
// beside the count opens the menu.
//
// A tidy action of a long list is a BackgroundJob on a copy of the rows: choosing it starts
// the job and returns, the hourglass and the bar show while it works, and its end puts the new
// rows in place, or shows one message when it could not make them. The list changes only then,
// and only when nothing else changed it meanwhile.
class ResultsTidying : public QObject {
    Q_OBJECT
  public:
    // `windowBusy`: the window is doing something of its own with its lists (its hourglass
    // shows, a split is going), so no action starts.
    ResultsTidying(ReportList& list, ProgressBar& bar, Platform& platform,
                   WindowMousePointer& pointer, std::function<bool()> windowBusy);
    ~ResultsTidying() override;

    // Before a removal or a clear the user can undo; a list without rows has nothing to keep.
    void rememberRows();
    // A split starts, or the window lets go of its rows.
    void forgetHistory();
    bool canUndo() const { return !history_.empty(); }
    bool canRedo() const { return history_.canRedo(); }
    // The delimiter the window last split at, which "Copy As One Line" offers first.
    void setLastDelimiter(std::function<QString()> lastDelimiter) {
        lastDelimiter_ = std::move(lastDelimiter);
    }
    // A tidy action, or a copy as one line, is working on a copy of the rows.
    bool working() const;
    // The window hides or closes: an action still working stops, is waited for and leaves the
    // list as it is, and the bar and pointer go back to rest.
    void stopWorking();

    void copyRow();
    void copyAsOneLine();
    // Asks which tidy steps to run, then runs them as one action, undone in one step.
    void cleanUp();
    void tidy(TidyAction action);
    void undo();
    void redo();

    QMenu* menu() const { return menu_; }

  signals:
    void copiedAsOneLine(qsizetype rows, qsizetype characters);

  private:
    struct Work;

    void showMenu(QPoint globalPos);
    void updateActions();
    void enableAllActions();
    bool idle() const;
    void start(TidyAction action, std::optional<CleanUpSteps> cleanUp);
    // The action's end: its rows go in place unless the list changed meanwhile.
    void ended(std::shared_ptr<Work> work, bool inBackground);
    void putInPlace(Work& work);
    // Undo steps were let go for memory: the user hears of it once a history.
    void tellOfStepsLetGo();
    // Delete or a clear, which the window does itself after rememberRows(), has happened.
    void rowsRemoved();

    ReportList& list_;
    ProgressBar& bar_;
    Platform& platform_;
    WindowMousePointer& pointer_;
    std::function<bool()> windowBusy_;
    std::function<QString()> lastDelimiter_;
    ListWorkRunner* runner_;
    OneLineCopy* oneLineCopy_;
    RowHistory history_;
    bool listChanged_ = false;  // rows removed or replaced since the job began
    bool toldOfStepsLetGo_ = false;
    qsizetype rowsBeforeRemoval_ = 0;  // set by rememberRows() until its removal comes
    QMenu* menu_;
    QAction* copyRowAction_;
    QAction* copyAsOneLineAction_;
    QAction* cleanUpAction_;
    QList<QAction*> tidyActions_;
    QAction* undoAction_;
    QAction* redoAction_;
};
