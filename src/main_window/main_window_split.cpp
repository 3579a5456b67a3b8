// "Start Splitting": the long line's pieces are appended to the results list.
#include "main_window/main_window.h"

#include "core/line_splitter.h"
#include "list_tidying/results_tidying.h"
#include "main_window/report_locations.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/yielding_loop.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <optional>

void MainWindow::startSplitting() {
    HandlerGuard on(platform_.messages, MainWindowLocations::startSplitting);
    resultsTidying->forgetHistory();  // a split is not undone piece by piece
    if (on.test(100, [&] { return lineBox->text().isEmpty(); })) {
        on.step(128, [&] { platform_.messages.show(QStringLiteral("No long line.")); });
        return;
    }
    lastSplitDelimiter_ = delimiterBox->text();

    // What may happen to the window at each yield, and what is checked after one: see
    // YieldingLoop.
    YieldingLoop loop(platform_.pump);
    std::optional<LineSplit> pieces;
    on.step(102, [&] {
        // Counting a line of a gigabyte takes a tenth of a second: the window answers
        // meanwhile, as it does while the pieces are appended. A stretch takes milliseconds,
        // so every pause lets events run, unlike the calls per piece.
        pieces.emplace(lineBox->text(), delimiterBox->text(), [&] { loop.yield(true); });
        resultsList->reserveMore(pieces->count());
    });
    if (loop.mustStop()) {
        return;
    }
    // Out of memory, every later step would fail as well, each with a report: the split stops
    // after one, keeping the rows made so far.
    const qsizetype n = pieces && !on.outOfMemory() ? pieces->count() : 0;
    static const QString processing = QStringLiteral("Processing: ");
    int progress = -1;
    qsizetype recomputeAt = 0;

    for (qsizetype i = 0; i < n; ++i) {
        TextSpan piece{};
        on.step(106, [&] { piece = pieces->next(); });
        on.step(108, [&] {
            // The value changes a hundred times in a split, so the division is worked out only
            // near the next change, and the value is set again only then or when events have
            // run since (a second split run from them may have set the bar meanwhile).
            const bool eventsRan = loop.eventsRanSinceLastLook();
            if (i >= recomputeAt) {
                progress = static_cast<int>(static_cast<double>(i) / n * 100);
                recomputeAt = (static_cast<qsizetype>(progress) + 1) * n / 100 - 1;
                progressBar->setValue(progress);
            } else if (eventsRan) {
                progressBar->setValue(progress);
            }
        });
        on.step(110, [&] {
            progressBar->setBarText(processing, pieces->text(), piece.offset, piece.length,
                                    FileNameOfPath);
        });
        on.step(112, [&] { loop.yield(i == 0 || i == n - 1); });
        if (loop.mustStop()) {
            return;
        }
        on.step(114, [&] { setPointerShape(PointerShape::Hourglass); });
        on.step(116, [&] { resultsList->appendSpan(pieces->text(), piece); });
        if (on.outOfMemory()) {
            break;
        }
    }

    on.step(120, [&] { setPointerShape(PointerShape::Default); });
    on.step(122, [&] { progressBar->setValue(0); });
    on.step(124, [&] { progressBar->setBarText(QStringLiteral("Progress Bar")); });
    on.step(126, [&] { platform_.messages.show(QStringLiteral("Done.")); });
}
