// "Start Splitting" of the batch window, and the "Clear List" under its results.
#include "batch_window/form2.h"

#include "main_window/line_splitter.h"
#include "platform/controls/progress_bar.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"

#include <cmath>

namespace {
int progressValue(qsizetype row, qsizetype rows) {
    return static_cast<int>(std::floor(static_cast<double>(row) / static_cast<double>(rows) * 100));
}
}  // namespace

void Form2::PushButton2_Click() {
    // A second run would clear the results under the one already going.
    if (splitRunning_ || ListView1->count() == 0) {
        return;
    }
    splitRunning_ = true;
    struct RunEnds {
        bool& running;
        ~RunEnds() { running = false; }
    } runEnds{splitRunning_};

    ListView2->clear();
    const qsizetype n = ListView1->count();
    static const QString processing = QStringLiteral("Processing: ");

    for (qsizetype i = 1; i <= n; ++i) {
        // Rows can only be added while the run waits for events, but a row read by number
        // must still be there.
        if (i > ListView1->count()) {
            break;
        }
        TextSpan rowSpan;
        const QString& row = ListView1->textSource(i, rowSpan);
        ProgressBar1->setValue(progressValue(i, ListView1->count()));
        ProgressBar1->setBarText(processing, row, rowSpan.offset, rowSpan.length, FileNameOfPath);
        platform_.pump.pendingEvents(i == 1 || i == n);
        if (unloading_ || platform_.pump.programEnding()) {
            return;
        }
        setMousePointer(PointerShape::Hourglass);

        try {
            // The row is split in place, its pieces sharing the input list's text. No events
            // run until it is done, so neither the row nor the delimiter can change meanwhile;
            // the row is looked up again since events ran since it was last read.
            const QString& source = ListView1->textSource(i, rowSpan);
            PieceCursor pieces(source, rowSpan.offset, rowSpan.length, Text2->text());
            while (pieces.hasNext()) {
                ListView2->appendSpan(source, pieces.next());
            }
        } catch (const std::exception& failure) {
            // The run has no error report of its own, but running out of memory must not end
            // the program: say so once, keep the results so far, and finish as usual.
            platform_.messages.show(QString::fromLocal8Bit(failure.what()) +
                                        QStringLiteral("\r\nThe results so far are kept."),
                                    MessageButtons::Ok, MessageIcon::Warning,
                                    HandlerErrorReport::kTitle);
            break;
        }
    }

    setMousePointer(PointerShape::Default);
    ProgressBar1->setValue(0);
    ProgressBar1->setBarText(QStringLiteral("Progress Bar"));
    platform_.messages.show(QStringLiteral("Done."));
}

void Form2::PushButton7_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton7_Click"));
    // Unlike the input list's, this one acts while a run is going; later pieces stay.
    on.step(100, [&] { ListView2->clear(); });
}
