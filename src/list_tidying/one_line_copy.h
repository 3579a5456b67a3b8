#pragma once

#include "core/one_line_join.h"
#include "list_tidying/list_work_runner.h"

#include <QLocale>
#include <QObject>

#include <memory>

class ProgressBar;
class RowStore;
class WindowMousePointer;
struct Platform;

// "Copy As One Line": a list's rows joined into one text, put on the clipboard. A long list
// is joined by a BackgroundJob on a copy of the rows, with the hourglass and the bar's
// progress showing meanwhile, as a tidy action shows them; a short one at once.
class OneLineCopy : public QObject {
    Q_OBJECT
  public:
    OneLineCopy(ProgressBar& bar, Platform& platform, WindowMousePointer& pointer, QObject* parent);
    ~OneLineCopy() override;

    bool working() const { return runner_->working(); }
    // `rows` is the job's own copy: a RowStore copy shares the list's blocks.
    void start(RowStore rows, OneLineFormat format);
    // The window hides or closes: the join stops, is waited for, and the clipboard is left
    // as it was.
    void stopWorking();

  signals:
    // The text is on the clipboard.
    void copied(qsizetype rows, qsizetype characters);

  private:
    struct Work;

    void putOnClipboard(Work& work);

    ProgressBar& bar_;
    Platform& platform_;
    WindowMousePointer& pointer_;
    ListWorkRunner* runner_;
};

// What the list says once the rows are on the clipboard, in `locale`'s number format.
QString OneLineCopySummary(qsizetype rows, qsizetype characters, const QLocale& locale = {});
