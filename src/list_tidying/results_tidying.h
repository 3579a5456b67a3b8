#pragma once

#include "core/row_tidying.h"
#include "list_tidying/row_history.h"
#include "platform/pointer_shapes.h"

#include <QObject>

#include <functional>

class ProgressBar;
class QAction;
class QMenu;
class ReportList;
struct Platform;

// What a window lends the tidying of its results list.
struct TidyingHost {
    // The hourglass shows for something else: no action runs then.
    std::function<bool()> busy;
    std::function<void(PointerShape)> setPointerShape;
    // The window has closed or the program is ending: a running action stops.
    std::function<bool()> stopping;
    // Runs an action as one of the window's handlers (a window that closes meanwhile waits
    // for it before letting go of its lists).
    std::function<void(const std::function<void()>&)> runAsHandler;
};

// The context menu of a results list and what it does: copy the selected row, tidy the rows
// in place (trim, drop empty or repeated rows, sort), and undo. The work of a tidy action
// runs on a thread of its own, on a copy of the rows, while the window keeps answering: the
// list changes only once the new rows are complete, and a failure leaves it as it was.
class ResultsTidying : public QObject {
    Q_OBJECT
  public:
    // Lists up to this size are tidied at once, without a thread, hourglass or progress.
    static constexpr qsizetype kRowsWorthAThread = 50'000;

    ResultsTidying(ReportList& list, ProgressBar& bar, Platform& platform, TidyingHost host);
    ~ResultsTidying() override;

    // Before a removal or a clear the user can undo; a list without rows has nothing to keep.
    void rememberRows();
    // A split starts, or the window lets go of its rows.
    void forgetHistory();
    bool canUndo() const { return !history_.empty(); }

    void copyRow();
    void tidy(TidyAction action);
    void undo();

    QMenu* menu() const { return menu_; }

  private:
    void showMenu(QPoint globalPos);
    void updateActions();
    void enableAllActions();
    // Puts the action's new rows in place, or shows one message when it could not make them.
    void runTidy(TidyAction action, const QString& caption);

    ReportList& list_;
    ProgressBar& bar_;
    Platform& platform_;
    TidyingHost host_;
    RowHistory history_;
    bool running_ = false;
    QMenu* menu_;
    QAction* copyRowAction_;
    QList<QAction*> tidyActions_;
    QAction* undoAction_;
};
