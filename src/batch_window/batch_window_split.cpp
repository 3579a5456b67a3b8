// "Start Splitting" of the batch window, and the "Clear List" under its results.
#include "batch_window/batch_window.h"

#include "batch_window/report_locations.h"
#include "core/line_splitter.h"
#include "core/memory_reserve.h"
#include "list_tidying/results_tidying.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/yielding_loop.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <cmath>

namespace {
int progressValue(qsizetype row, qsizetype rows) {
    return static_cast<int>(std::floor(static_cast<double>(row) / static_cast<double>(rows) * 100));
}
}  // namespace

void BatchWindow::startSplitting() {
    // A second run would clear the results under the one already going.
    if (lifecycle_.splitRunning() || inputList->count() == 0) {
        return;
    }
    lifecycle_.splitStarted();
    lastSplitDelimiter_ = delimiterBox->text();
    resultsTidying->forgetHistory();  // a run is not undone piece by piece
    struct RunEnds {
        BatchWindowLifecycle& lifecycle;
        ~RunEnds() { lifecycle.splitFinished(); }
    } runEnds{lifecycle_};

    resultsList->clear();
    const qsizetype n = inputList->count();
    static const QString processing = QStringLiteral("Processing: ");
    // What may happen to the window at each yield, and what is checked after one: see
    // YieldingLoop. The input list only grows during a run.
    YieldingLoop loop(platform_.pump, [this] { return unloaded(); });
    loop.watch(*inputList);

    // The run has no error report of its own, but a failure (running out of memory) must not
    // end the program: say so once, keep the results so far, and finish as usual.
    try {
        for (qsizetype i = 1; i <= n; ++i) {
            if (i > inputList->count()) {
                break;
            }
            TextSpan rowSpan;
            const QString* source = &inputList->textSource(RowNumber(i), rowSpan);
            progressBar->setValue(progressValue(i, inputList->count()));
            progressBar->setBarText(processing, *source, rowSpan.offset, rowSpan.length,
                                    FileNameOfPath);
            if (!loop.yield(i == 1 || i == n)) {
                return;
            }
            setPointerShape(PointerShape::Hourglass);

            // The row is split in place, its pieces sharing the input list's text. No events
            // run until it is done, so neither the row nor the delimiter can change meanwhile.
            if (loop.listChangedSinceLastLook()) {
                source = &inputList->textSource(RowNumber(i), rowSpan);
            }
            PieceCursor pieces(*source, rowSpan.offset, rowSpan.length, delimiterBox->text());
            while (pieces.hasNext()) {
                resultsList->appendSpan(*source, pieces.next());
            }
        }
    } catch (...) {
        // The results hold the memory; what the report needs was kept back for it.
        const std::exception_ptr failure = std::current_exception();
        const MemoryReserve::SpentOnReportOf reserve(failure);
        platform_.messages.show(HandlerErrorReport::describe(failure) +
                                    QStringLiteral("\r\nThe results so far are kept."),
                                MessageButtons::Ok, MessageIcon::Warning,
                                HandlerErrorReport::kTitle);
    }

    setPointerShape(PointerShape::Default);
    progressBar->setValue(0);
    progressBar->setBarText(QStringLiteral("Progress Bar"));
    platform_.messages.show(QStringLiteral("Done."));
}

void BatchWindow::clearResults() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::clearResults);
    // Unlike the input list's, this one acts while a run is going; later pieces stay.
    on.step(100, [&] {
        resultsTidying->rememberRows();
        resultsList->clear();
    });
}
