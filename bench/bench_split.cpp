// The main window's "Start Splitting" on a very long line, against `tr` writing the same
// pieces to a file in the same run, and then what a user does with the list it leaves:
// delete rows at its start, middle and end, scroll to its end, click its last row, clear it.
//
//   build/bench/bench_split [pieces=10000000] [piece-bytes=9] [paste]
//
// One size a run, so that the process's peak memory belongs to that size alone. With `paste`,
// under a real X server (xvfb-run -a), the line reaches the box as a user's does: xclip offers
// it and Ctrl+V pastes it; the peak is then that of the paste and the split, from the paste on.

#include "bench_support.h"
#include "main_window/main_window.h"
#include "platform/qt/host_back_ends.h"
#include "platform/qt/qt_platform.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
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

// Numbered pieces of `pieceBytes` ASCII characters joined by ",", made straight into the
// string the line box will hold, so the benchmark keeps no copy of its own.
QString makeLine(qsizetype pieces, int pieceBytes) {
    QString line;
    line.reserve(pieces * (pieceBytes + 1) - 1);
    QString piece(pieceBytes, QLatin1Char('x'));
    for (qsizetype i = 0; i < pieces; ++i) {
        const QString number = QString::number(i % 100000000);
        piece.replace(0, number.size(), number);
        if (i > 0) {
            line += QLatin1Char(',');
        }
        line += piece;
    }
    return line;
}

void writeLatin1(const QString& line, const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    constexpr qsizetype kChunk = 1 << 24;
    for (qsizetype at = 0; at < line.size(); at += kChunk) {
        file.write(QStringView(line).mid(at, kChunk).toLatin1());
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool paste = argc > 3 && QByteArray(argv[3]) == "paste";
    if (!paste) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QtEventPump pastePump;
    const std::unique_ptr<ClipboardTextSource> clipboardReader =
        MakeHostClipboardTextSource(pastePump);
    UseClipboardTextSource(clipboardReader.get());
    const qsizetype pieces = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const int pieceBytes = argc > 2 ? QByteArray(argv[2]).toInt() : 9;
    QTemporaryDir folder;

    QString line = makeLine(pieces, pieceBytes);
    const double lineMb = line.size() * 2 / 1e6;
    const QString inputPath = folder.filePath(QStringLiteral("line.txt"));
    writeLatin1(line, inputPath);
    const double trSeconds =
        bench::timeCommand("tr ',' '\\n' < '" + inputPath.toStdString() + "' > '" +
                           folder.path().toStdString() + "/tr-out.txt'");
    QFile::remove(folder.filePath(QStringLiteral("tr-out.txt")));

    // The real pump with its frame coalescing; message boxes answered at once.
    QtEventPump pump;
    FakePlatform fake;
    Platform platform = fake.withPump(pump);
    MainWindow form(platform);
    form.load();
    form.show();
    QCoreApplication::processEvents();
    double pasteSeconds = 0;
    if (paste) {
        line = QString();
        bench::timeCommand("xclip -selection clipboard -i '" + inputPath.toStdString() + "'");
        bench::resetPeakMemory();
        LineBox* box = controls(form).lineBox;
        box->setFocus();
        QElapsedTimer pasteTimer;
        pasteTimer.start();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        pasteSeconds = bench::seconds(pasteTimer);
        if (box->text().size() != pieces * (pieceBytes + 1) - 1) {
            std::fprintf(stderr, "the paste gave %lld characters\n",
                         static_cast<long long>(box->text().size()));
            return 1;
        }
    } else {
        controls(form).lineBox->setText(line);
        line = QString();  // the box's share is the only one now
    }
    QCoreApplication::processEvents();
    ReportList& list = *controls(form).resultsList;

    QElapsedTimer timer;
    double splitSeconds = 0;
    qsizetype rowsShownAtDone = 0;
    fake.messages.whileShown = [&](const ShownMessage&) {
        splitSeconds = bench::seconds(timer);
        rowsShownAtDone = bench::rowsReachable(list);
    };
    // Three splits, each into an emptied list: the first one's memory, the median time and
    // the worst wait for input count.
    std::vector<double> times;
    double beforeMb = 0;
    double afterMb = 0;
    qint64 longestWait = 0;
    bench::InputWaitProbe probe;
    for (int round = 0; round < 3; ++round) {
        QTest::mouseClick(controls(form).clearResultsButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        if (round == 0) {
            beforeMb = bench::currentMemoryMb();
        }
        probe.start();
        timer.start();
        QTest::mouseClick(controls(form).startSplittingButton, Qt::LeftButton);
        const qint64 wait = probe.stop();
        longestWait = std::max(longestWait, wait);
        if (round == 0) {
            afterMb = bench::currentMemoryMb();
        }
        times.push_back(splitSeconds);
    }
    std::sort(times.begin(), times.end());

    const qsizetype rows = list.count();
    const bench::ListActions actions = bench::measureListActions(
        list, [&] { QTest::mouseClick(controls(form).clearResultsButton, Qt::LeftButton); });

    std::printf("%lld pieces of %d bytes (%.0f MB line as text, %.0f MB in memory)\n",
                static_cast<long long>(pieces), pieceBytes, lineMb / 2, lineMb);
    std::printf("  tr to a file:            %.3f s\n", trSeconds);
    if (paste) {
        std::printf("  paste from xclip:        %.3f s\n", pasteSeconds);
    }
    std::printf("  split, click to Done.:   %.3f s  = %.2f x tr  (median of %.3f %.3f %.3f)\n",
                times[1], times[1] / trSeconds, times[0], times[1], times[2]);
    std::printf("  rows in the list:        %lld, %lld of them reachable in the view at Done.\n",
                static_cast<long long>(rows), static_cast<long long>(rowsShownAtDone));
    std::printf("  longest input wait:      %lld ms from click to Done. (worst of 3)\n",
                static_cast<long long>(longestWait));
    actions.print();
    std::printf(
        "  memory:                  %.0f MB before the click, %.0f MB after the split, "
        "peak of the process %.0f MB%s\n",
        beforeMb, afterMb, bench::peakMemoryMb(), paste ? " (from the paste on)" : "");
    std::fflush(stdout);
    UseClipboardTextSource(nullptr);
    return rows == pieces && actions.lastRowSelected ? 0 : 1;
}
