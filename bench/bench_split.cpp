// The main window's "Start Splitting" on very long lines, against `tr` writing the same
// pieces to a file in the same run.
//
//   build/bench/bench_split [pieces-of-9-bytes=10000000] [pieces-of-99-bytes=1000000]

#include "bench_support.h"
#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"
#include "support/fake_platform.h"
#include "widgets/line_box/line_box.h"
#include "widgets/report_list/report_list.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

QByteArray makeLine(qsizetype pieces, int pieceBytes) {
    QByteArray line;
    line.reserve(pieces * (pieceBytes + 1));
    QByteArray piece(pieceBytes, 'x');
    for (qsizetype i = 0; i < pieces; ++i) {
        const QByteArray number = QByteArray::number(i % 100000000);
        piece.replace(0, number.size(), number);
        if (i > 0) {
            line += ',';
        }
        line += piece;
    }
    return line;
}

void run(const QString& folder, qsizetype pieces, int pieceBytes) {
    const QByteArray line = makeLine(pieces, pieceBytes);
    const QString inputPath = folder + QStringLiteral("/line.txt");
    {
        QFile input(inputPath);
        input.open(QIODevice::WriteOnly);
        input.write(line);
    }
    const double trSeconds = bench::timeCommand("tr ',' '\\n' < '" + inputPath.toStdString() +
                                                "' > '" + folder.toStdString() + "/tr-out.txt'");

    // The real pump with its frame coalescing; message boxes answered at once.
    QtEventPump pump;
    FakePlatform fake;
    const bool noPump = qEnvironmentVariableIsSet("BENCH_NO_PUMP");
    EventPump& chosenPump = noPump ? static_cast<EventPump&>(fake.pump) : pump;
    Platform platform{fake.messages,      fake.fileDialogs, fake.clipboard,
                      fake.browser,       chosenPump,       fake.random,
                      fake.programFolder, fake.pointers,    fake.spreadsheets};
    MainWindow form(platform);
    form.load();
    form.show();
    QCoreApplication::processEvents();
    form.lineBox->setText(QString::fromUtf8(line));
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    double splitSeconds = 0;
    fake.messages.whileShown = [&](const ShownMessage&) { splitSeconds = bench::seconds(timer); };
    // Three splits, each into an emptied list: the first one's memory, the median time and
    // the worst wait for input count.
    std::vector<double> times;
    double before = 0;
    double peak = 0;
    qint64 longestGap = 0;
    bench::CatchUp catchUp;
    for (int round = 0; round < 3; ++round) {
        QTest::mouseClick(form.clearResultsButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        if (round == 0) {
            before = bench::currentMemoryMb();
            bench::resetPeakMemory();
        }
        pump.resetLongestGap();
        timer.start();
        QTest::mouseClick(form.startSplittingButton, Qt::LeftButton);
        if (round == 0) {
            peak = bench::peakMemoryMb();
        }
        longestGap = std::max(longestGap, pump.longestGapMs());
        times.push_back(splitSeconds);
        if (round == 0) {
            catchUp = bench::untilViewShows(*form.resultsList, form.resultsList->count());
        }
    }
    std::sort(times.begin(), times.end());
    splitSeconds = times[1];

    const qsizetype rows = form.resultsList->count();
    QCoreApplication::processEvents();
    timer.start();
    // The middle row; rows count from 1, so a list of one row deletes that one.
    form.resultsList->selectRow((rows + 1) / 2);
    form.resultsListKeyPressed(Qt::Key_Delete);
    QCoreApplication::processEvents();
    const double deleteSeconds = bench::seconds(timer);
    timer.start();
    QTest::mouseClick(form.clearResultsButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    const double clearSeconds = bench::seconds(timer);

    std::printf("%lld pieces of %d bytes (%.0f MB line)\n", static_cast<long long>(pieces),
                pieceBytes, line.size() / 1e6);
    std::printf("  tr to a file:           %.3f s\n", trSeconds);
    std::printf(
        "  split, click to Done.:  %.3f s  = %.2f x tr  (goal <= 3; median of 3: %.3f %.3f %.3f)\n",
        splitSeconds, splitSeconds / trSeconds, times[0], times[1], times[2]);
    std::printf("  rows in the list:       %lld\n", static_cast<long long>(rows));
    std::printf("  view shows them all:    %.0f ms after Done. (longest event-loop run %.0f ms)\n",
                catchUp.seconds * 1e3, catchUp.longestRun * 1e3);
    std::printf("  longest event gap:      %lld ms  (goal <= 50)\n",
                static_cast<long long>(longestGap));
    std::printf(
        "  peak memory in split:   %.0f MB (process; %.0f MB before the click; goal < 600)\n", peak,
        before);
    std::printf("  delete one row:         %.1f ms  (goal <= 100)\n", deleteSeconds * 1e3);
    std::printf("  clear results:          %.1f ms  (goal <= 100)\n", clearSeconds * 1e3);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype small = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const qsizetype large = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1'000'000;
    QTemporaryDir folder;
    run(folder.path(), small, 9);
    run(folder.path(), large, 99);
    return 0;
}
