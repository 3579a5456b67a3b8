// The results list's tidying actions as the user runs them: each action of the main window's
// results menu, triggered on millions of rows, timed from the trigger until its work has ended
// with the new rows in place, against a well-known tool doing the same to the same rows in the
// same run; then "Undo", how long input waits meanwhile, and what twenty steps of undo cost.
//
//   build/bench/bench_tidy_window [rows=10000000] [runs=3] [--nine-digits] [--no-tools]
//
// The rows are those of bench_tidy (tidy_rows.h), appended to the main window's results list as
// spans of one shared text, the way a split leaves them (a split of them would take longer to
// set up and give the same list). The window runs with the real event pump; message boxes are
// answered at once. Each round runs the tool, then the action, then "Undo", which puts the list
// back for the next round: the median of `runs` rounds counts, and the longest wait of input
// is the worst of them. Memory is the process's resident size (VmRSS) before and after twenty
// Delete presses in a row, and before and after twenty sorts in turn A to Z and Z to A, each of
// them a step of undo, and after undoing them all.

#include "bench_support.h"
#include "list_tidying/results_tidying.h"
#include "list_tidying/row_history.h"
#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "tidy_rows.h"
#include "widgets/report_list/report_list.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

QAction& menuAction(const ResultsTidying& tidying, const char* caption) {
    for (QAction* action : tidying.menu()->actions()) {
        if (QString(action->text()).remove(QLatin1Char('&')) == QLatin1String(caption)) {
            return *action;
        }
    }
    std::fprintf(stderr, "the results menu has no \"%s\"\n", caption);
    std::exit(1);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// One thing the user does: the time until its handler returns, and the longest wait of input
// from its start until the repaint after it has run.
struct Step {
    double ms = 0;
    qint64 waitMs = 0;
    qint64 queuedMs = 0;  // of that wait, the time the window's thread had no CPU
    qint64 stealMs = 0;   // during that wait, the time the host kept the CPUs from running
    qint64 atMs = 0;      // when that wait began, from the start
};

template <typename Action>
Step timed(bench::InputWaitProbe& probe, Action action) {
    QCoreApplication::processEvents();
    probe.start();
    QElapsedTimer timer;
    timer.start();
    action();
    Step step;
    step.ms = timer.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents();
    step.waitMs = probe.stop();
    step.queuedMs = probe.longestQueuedMs();
    step.stealMs = probe.longestStealMs();
    step.atMs = probe.longestAtMs();
    return step;
}

struct Steps {
    std::vector<double> ms;
    Step longest;

    void add(const Step& step) {
        ms.push_back(step.ms);
        if (step.waitMs >= longest.waitMs) {
            longest = step;
        }
    }
    // "12 ms (3 without a CPU, 0 taken by the host, from 1.234 s)"
    std::string longestWait() const {
        char text[128];
        std::snprintf(
            text, sizeof text, "%lld ms (%lld without a CPU, %lld taken by the host, from %.3f s)",
            static_cast<long long>(longest.waitMs), static_cast<long long>(longest.queuedMs),
            static_cast<long long>(longest.stealMs), double(longest.atMs) / 1000);
        return text;
    }
    double medianMs() const { return median(ms); }
    double longestMs() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// "a / b / c", in the order they ran.
std::string joined(const std::vector<double>& values, const char* format, double scale = 1) {
    std::string text;
    char figure[32];
    for (double value : values) {
        std::snprintf(figure, sizeof figure, format, value * scale);
        text += (text.empty() ? "" : " / ") + std::string(figure);
    }
    return text;
}

bool failed = false;
void check(bool holds, const char* what) {
    if (!holds) {
        std::printf("  FAILED: %s\n", what);
        failed = true;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype count = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    // Without the tools, whose gigabyte files leave the machine's caches cold for the action.
    const bool tools = !bench::hasOption(argc, argv, 3, "--no-tools");
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    const std::string input = dir + "/rows.txt";

    // The real pump with its frame coalescing; message boxes answered at once.
    QtEventPump pump;
    FakePlatform fake;
    Platform platform = fake.withPump(pump);
    MainWindow form(platform);
    form.load();
    form.show();
    QCoreApplication::processEvents();
    ReportList& list = *controls(form).resultsList;
    ResultsTidying& tidying = *controls(form).resultsTidying;
    quint64 changes = 0;  // the list's rows removed or replaced
    QObject::connect(&list, &ReportList::rowsRemovedOrReplaced, [&] { ++changes; });
    // A tidy action returns at once and works on; it is timed until its rows are in place.
    const auto tidyUntilDone = [&](QAction& action) {
        action.trigger();
        while (tidying.working()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    };
    const double emptyMb = bench::currentMemoryMb();

    QElapsedTimer timer;
    timer.start();
    const double characters =
        bench::fillTidyRows(count, list, input, bench::tidyNumbersFrom(argc, argv, 3));
    if (characters < 0) {
        return 1;
    }
    QCoreApplication::processEvents();
    list.setFocus();
    list.selectRow(RowNumber((count + 1) / 2));
    QCoreApplication::processEvents();
    const double rowsMb = bench::currentMemoryMb();
    std::printf(
        "%lld rows, %.1f characters a row on average, in the list in %.1f s; sort locale %s\n"
        "  memory: %.0f MB with the window, %.0f MB with the rows in its list\n",
        static_cast<long long>(count), characters, bench::seconds(timer),
        qPrintable(QLocale().name()), emptyMb, rowsMb);
    std::fflush(stdout);

    bench::InputWaitProbe probe;
    QAction& undo = menuAction(tidying, "Undo");

    struct Case {
        const char* caption;
        const char* toolName;
        double goal;
        std::function<double()> tool;
    };
    const auto grep = [&] { return bench::grepSeconds(input, dir); };
    const auto fromKeys = [&] { return bench::pythonFromKeysSeconds(input); };
    const auto sortV = [&] { return bench::sortVSeconds(input, dir); };
    const Case cases[] = {
        {"Trim Spaces", "grep -v '^$' to a file", 1, grep},
        {"Remove Empty Rows", "grep -v '^$' to a file", 1, grep},
        {"Remove Duplicate Rows", "python3 dict.fromkeys", 0.1, fromKeys},
        {"Remove Duplicate Rows (Ignore Case)", "python3 dict.fromkeys", 0.1, fromKeys},
        {"Sort A to Z", "LC_ALL=C.UTF-8 sort -V to a file", 0.15, sortV},
        {"Sort Z to A", "LC_ALL=C.UTF-8 sort -V to a file", 0.15, sortV},
    };
    for (const Case& actionCase : cases) {
        QAction& action = menuAction(tidying, actionCase.caption);
        std::vector<double> toolSeconds;
        Steps tidied;
        Steps undone;
        qsizetype rowsAfter = 0;
        for (int round = 0; round < runs; ++round) {
            toolSeconds.push_back(tools ? actionCase.tool() : 1);
            const quint64 changesBefore = changes;
            tidied.add(timed(probe, [&] { tidyUntilDone(action); }));
            rowsAfter = list.count();
            check(changes != changesBefore && tidying.canUndo(), "the action changed the list");
            undone.add(timed(probe, [&] { undo.trigger(); }));
            check(list.count() == count && !tidying.canUndo(), "Undo put the list back");
        }
        const double tool = median(toolSeconds);
        const double ours = tidied.medianMs() / 1000;
        std::printf("%s: %lld -> %lld rows\n", actionCase.caption, static_cast<long long>(count),
                    static_cast<long long>(rowsAfter));
        std::printf("  action  %6.3f s (%s) = %.2f x %s %.3f s (%s); goal <= %.2f x\n", ours,
                    joined(tidied.ms, "%.3f", 1e-3).c_str(), ours / tool, actionCase.toolName, tool,
                    joined(toolSeconds, "%.3f").c_str(), actionCase.goal);
        std::printf("  undo    %6.2f ms (%s); goal <= 100 ms\n", undone.medianMs(),
                    joined(undone.ms, "%.2f").c_str());
        std::printf(
            "  longest input wait: %s in the action, %s in the undo (worst of %d; goal "
            "<= 50 ms)\n",
            tidied.longestWait().c_str(), undone.longestWait().c_str(), runs);
        std::fflush(stdout);
    }

    // Twenty steps of undo, each of them one Delete press: every step keeps a copy of the rows
    // (the block pointers and their count), and the delete copies the one block it changes.
    const qsizetype blocks = (count + RowStore::kBlockRows - 1) / RowStore::kBlockRows;
    const double pointersKb = double(blocks) * (sizeof(void*) * 2 + sizeof(qsizetype)) / 1024;
    const int steps = RowHistory::kSteps;
    {
        list.selectRow(RowNumber((count + 1) / 2));
        QCoreApplication::processEvents();
        const double beforeMb = bench::currentMemoryMb();
        Steps deletes;
        for (int press = 0; press < steps; ++press) {
            if (!list.selectedRow()) {
                list.selectRow(RowNumber((count + 1) / 2));
            }
            deletes.add(timed(probe, [&] { QTest::keyClick(&list, Qt::Key_Delete); }));
        }
        const double afterMb = bench::currentMemoryMb();
        check(list.count() == count - steps, "each Delete removed a row");
        Steps undone;
        for (int press = 0; press < steps; ++press) {
            undone.add(timed(probe, [&] { undo.trigger(); }));
        }
        const double undoneMb = bench::currentMemoryMb();
        check(list.count() == count && !tidying.canUndo(), "Undo put the list back");
        std::printf("%d Delete presses in a row, each a step of undo:\n", steps);
        std::printf(
            "  memory %.0f MB before, %.0f MB after = +%.1f MB (expected about %.1f MB: "
            "a step keeps %lld block pointers and counts, %.0f KB, and the delete "
            "copies one block of %lld spans, %lld KB)\n",
            beforeMb, afterMb, afterMb - beforeMb,
            steps * (pointersKb + RowStore::kBlockRows * 8 / 1024.0) / 1024,
            static_cast<long long>(blocks), pointersKb,
            static_cast<long long>(RowStore::kBlockRows),
            static_cast<long long>(RowStore::kBlockRows * 8 / 1024));
        std::printf("  Delete %.2f ms median, %.2f ms longest; longest input wait %s\n",
                    deletes.medianMs(), deletes.longestMs(), deletes.longestWait().c_str());
        std::printf(
            "  %d undos: %.2f ms median, %.2f ms longest; longest input wait %s; memory "
            "after them %.0f MB\n",
            steps, undone.medianMs(), undone.longestMs(), undone.longestWait().c_str(), undoneMb);
        std::fflush(stdout);
    }

    // Twenty sorts in turn, each kept to go back to: every one makes a full new list of spans.
    {
        QAction& aToZ = menuAction(tidying, "Sort A to Z");
        QAction& zToA = menuAction(tidying, "Sort Z to A");
        const double beforeMb = bench::currentMemoryMb();
        bench::resetPeakMemory();
        Steps sorts;
        for (int sort = 0; sort < steps; ++sort) {
            const quint64 changesBefore = changes;
            sorts.add(timed(probe, [&] { tidyUntilDone(sort % 2 == 0 ? aToZ : zToA); }));
            check(changes != changesBefore, "each sort changed the list");
        }
        const double afterMb = bench::currentMemoryMb();
        const double peakMb = bench::peakMemoryMb();
        Steps undone;
        for (int sort = 0; sort < steps; ++sort) {
            undone.add(timed(probe, [&] { undo.trigger(); }));
        }
        const double undoneMb = bench::currentMemoryMb();
        check(list.count() == count && !tidying.canUndo(), "Undo put the list back");
        const double listMb = double(count) * 8 / (1024 * 1024);
        std::printf("%d sorts in turn A to Z and Z to A, each a step of undo:\n", steps);
        std::printf(
            "  memory %.0f MB before, %.0f MB after = +%.0f MB, %.0f MB a step (expected "
            "about %.0f MB a step: %lld spans of 8 bytes and their block pointers); "
            "peak %.0f MB\n",
            beforeMb, afterMb, afterMb - beforeMb, (afterMb - beforeMb) / steps,
            listMb + pointersKb / 1024, static_cast<long long>(count), peakMb);
        std::printf("  sort %.3f s median, %.3f s longest; longest input wait %s\n",
                    sorts.medianMs() / 1000, sorts.longestMs() / 1000, sorts.longestWait().c_str());
        std::printf(
            "  %d undos: %.2f ms median, %.2f ms longest; longest input wait %s; memory "
            "after them %.0f MB\n",
            steps, undone.medianMs(), undone.longestMs(), undone.longestWait().c_str(), undoneMb);
        // What is left is the allocator's: blocks freed by the window's thread stay in the
        // worker threads' heaps until trimmed.
        malloc_trim(0);
        std::printf("  memory after malloc_trim: %.0f MB\n", bench::currentMemoryMb());
    }
    // Twenty sorts of a list longer than the undo history's budget holds let the oldest steps
    // go, and the window says so once; no other box is expected.
    const bool historyLetsGo =
        steps * count > std::max(RowHistory::kFloorRows, RowHistory::kListCopies * count);
    const QString letGo =
        QStringLiteral("The oldest Undo steps were let go to leave memory for the list.");
    for (const ShownMessage& message : fake.messages.shown) {
        std::printf("  message box: %s\n", qPrintable(message.text));
    }
    check(
        fake.messages.shown.size() == (historyLetsGo ? 1u : 0u) &&
            (!historyLetsGo || fake.messages.shown.front().text == letGo),
        historyLetsGo ? "only the box of Undo steps let go was shown" : "no message box was shown");
    std::fflush(stdout);
    return failed ? 1 : 0;
}
