// The batch window's "Start Splitting" over a million input rows of ten pieces each, against
// `tr` writing the same pieces to a file in the same run.
//
//   build/bench/bench_batch_split [rows=1000000] [runs=1]
//
// With several runs the fastest counts; the memory and event figures are the worst seen.

#include "batch_window/batch_window.h"
#include "batch_window/text_file_loader.h"
#include "bench_support.h"
#include "platform/qt/qt_event_pump.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "widgets/report_list/report_list.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// Ten pieces of 9 bytes joined by ",": 99 bytes.
QByteArray makeRow(qsizetype row) {
    QByteArray line;
    for (int piece = 0; piece < 10; ++piece) {
        QByteArray text = QByteArray::number(row * 10 + piece).rightJustified(9, 'x');
        line += text.right(9);
        if (piece < 9) {
            line += ',';
        }
    }
    return line;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype rows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1'000'000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 1;
    QTemporaryDir folder;
    const QString inputPath = folder.filePath(QStringLiteral("rows.txt"));
    {
        QFile input(inputPath);
        if (!input.open(QIODevice::WriteOnly)) {
            return 1;
        }
        for (qsizetype r = 0; r < rows; ++r) {
            input.write(makeRow(r) + '\n');
        }
    }
    const double trSeconds =
        bench::timeCommand("tr ',' '\\n' < '" + inputPath.toStdString() + "' > '" +
                           folder.path().toStdString() + "/tr-out.txt'");

    // The real pump with its frame coalescing; message boxes answered at once.
    QtEventPump pump;
    FakePlatform fake;
    EventPump& chosenPump =
        qEnvironmentVariableIsSet("BENCH_NO_PUMP") ? static_cast<EventPump&>(fake.pump) : pump;
    Platform platform = fake.withPump(chosenPump);
    QWidget mainWindow;
    BatchWindow form(platform, &mainWindow);
    form.load();
    form.show();
    // Rows typed in one by one are texts of their own, the hardest case for the lists; rows
    // loaded from a file share its text.
    const bool fromFile = qEnvironmentVariableIsSet("BENCH_ROWS_FROM_FILE");
    if (fromFile) {
        LoadTextFileToList(*controls(form).inputList, inputPath, fake.messages);
    } else {
        for (qsizetype r = 0; r < rows; ++r) {
            controls(form).inputList->append(QString::fromLatin1(makeRow(r)));
        }
    }
    QCoreApplication::processEvents();

    bench::InputWaitProbe probe;
    qint64 latestTickMs = 0;
    qsizetype rowsShownAtDone = 0;
    QElapsedTimer timer;
    double runSeconds = 0;
    fake.messages.whileShown = [&](const ShownMessage&) {
        const double seconds = bench::seconds(timer);
        runSeconds = runSeconds == 0 ? seconds : std::min(runSeconds, seconds);
        latestTickMs = std::max(latestTickMs, probe.stop());
        rowsShownAtDone = bench::rowsReachable(*controls(form).resultsList);
    };
    const double before = bench::currentMemoryMb();
    bench::resetPeakMemory();
    qint64 longestGap = 0;
    for (int run = 0; run < runs; ++run) {
        pump.resetLongestGap();
        timer.start();
        probe.start();
        QTest::mouseClick(controls(form).startSplittingButton, Qt::LeftButton);
        longestGap = std::max(longestGap, pump.longestGapMs());
    }
    const double peak = bench::peakMemoryMb();

    std::printf("%lld input rows of 99 bytes, 10 pieces each\n", static_cast<long long>(rows));
    std::printf("  tr to a file:             %.3f s\n", trSeconds);
    std::printf("  run, click to Done.:      %.3f s  = %.2f x tr  (goal <= 3)\n", runSeconds,
                runSeconds / trSeconds);
    std::printf("  result rows:              %lld, %lld of them reachable in the view at Done.\n",
                static_cast<long long>(controls(form).resultsList->count()),
                static_cast<long long>(rowsShownAtDone));
    std::printf("  longest event-loop gap:   %lld ms; latest 5 ms timer: %lld ms  (goal <= 50)\n",
                static_cast<long long>(longestGap), static_cast<long long>(latestTickMs));
    std::printf("  peak memory:              %.0f MB (process; %.0f MB before the click)\n", peak,
                before);
    const qsizetype results = controls(form).resultsList->count();
    const bench::ListActions actions = bench::measureListActions(*controls(form).resultsList, [&] {
        QTest::mouseClick(controls(form).clearResultsButton, Qt::LeftButton);
    });
    actions.print();
    std::fflush(stdout);
    return results == rows * 10 && actions.lastRowSelected ? 0 : 1;
}
