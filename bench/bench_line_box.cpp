// Times the line box on a huge line against the same operations on a 1 KB line, in one run.
//
//   bench_line_box [megabytes]        (default 100)
//
// Under a real X server (xvfb-run -a bench_line_box) the line is put on the clipboard by
// xclip, so the paste includes the transfer between programs, and `xclip -o` reading the same
// selection is timed in the same run; on other platforms the clipboard is in-process. The
// paste reads the clipboard as the program does (the host's reader). Each figure is the
// median of several runs, in milliseconds, and includes the repaint that shows the result.
#include "bench_support.h"
#include "platform/qt/host_back_ends.h"
#include "platform/qt/qt_event_pump.h"
#include "widgets/line_box/line_box.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

QString makeLine(qsizetype length) {
    QString line;
    line.reserve(length);
    const QString piece = QStringLiteral("12345678,");
    while (line.size() + piece.size() <= length) {
        line += piece;
    }
    line += QString(length - line.size(), QLatin1Char('9'));
    return line;
}

double medianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& op) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        op();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return 0;
}

// Puts the line on the clipboard from another program when there is an X server, so that
// the paste pays for the transfer as a user's paste does.
bool offerFromAnotherProgram(const QString& line, const QTemporaryDir& dir) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return false;
    }
    const QString path = dir.filePath(QStringLiteral("line.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(line.toUtf8()) < 0) {
        return false;
    }
    file.close();
    const QByteArray command = "xclip -selection clipboard -i '" + path.toLocal8Bit() + "'";
    if (std::system(command.constData()) != 0) {
        return false;
    }
    // xclip answers from its own process now; wait until the system says so.
    for (int i = 0; i < 200 && QGuiApplication::clipboard()->ownsClipboard(); ++i) {
        QTest::qWait(10);
    }
    return true;
}

struct Figures {
    double paste = 0, paint = 0, firstKey = 0, keyEnd = 0, keyStart = 0, ctrlEnd = 0,
           selectCopy = 0;
    long memoryKb = 0;
    double peakMb = 0, xclipMs = 0;
    qint64 longestStallMs = 0;
    bool external = false;
};

Figures measure(qsizetype length, const QTemporaryDir& dir) {
    LineBox box;
    box.setGeometry(20, 20, 488, 22);  // the main window's long line box
    box.show();
    box.activateWindow();
    box.setFocus();
    (void)QTest::qWaitForWindowExposed(&box);

    Figures f;
    const bool huge = length > 1'000'000;
    {
        const QString line = makeLine(length);
        f.external = offerFromAnotherProgram(line, dir);
        if (!f.external) {
            QGuiApplication::clipboard()->setText(line);
        }
    }
    QCoreApplication::processEvents();
    if (f.external) {
        f.xclipMs = bench::timeCommand("xclip -o -selection clipboard > /dev/null") * 1000;
    }
    const long before = residentKb();
    bench::resetPeakMemory();
    bench::InputWaitProbe probe;
    probe.start();
    const int pasteRuns = huge ? 1 : 5;
    f.paste = medianMs(
        pasteRuns, [&] { box.clear(); },
        [&] {
            QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
            box.repaint();
        });
    f.longestStallMs = probe.stop();
    f.peakMb = bench::peakMemoryMb();
    if (box.text().size() != length) {
        std::fprintf(stderr, "paste gave %lld characters, not %lld\n",
                     static_cast<long long>(box.text().size()), static_cast<long long>(length));
        std::exit(1);
    }
    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    f.memoryKb = residentKb() - before;

    constexpr int kRuns = 7;
    f.paint = medianMs(
        1, [] {}, [&] { box.repaint(); });
    f.firstKey = medianMs(
        1, [] {},
        [&] {
            QTest::keyClick(&box, Qt::Key_X);
            box.repaint();
        });
    f.keyEnd = medianMs(
        kRuns, [&] { QTest::keyClick(&box, Qt::Key_End); },
        [&] {
            QTest::keyClick(&box, Qt::Key_X);
            box.repaint();
        });
    f.keyStart = medianMs(
        kRuns, [&] { QTest::keyClick(&box, Qt::Key_Home); },
        [&] {
            QTest::keyClick(&box, Qt::Key_X);
            box.repaint();
        });
    f.ctrlEnd = medianMs(
        kRuns, [&] { QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier); },
        [&] {
            QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
            box.repaint();
        });
    f.selectCopy = medianMs(
        kRuns, [&] { QTest::keyClick(&box, Qt::Key_End); },
        [&] {
            QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
            box.repaint();
        });
    return f;
}

void row(const char* what, double small, double big) {
    std::printf("%-34s %10.2f %10.2f %10.2f %9.1fx\n", what, small, big, big - small,
                small > 0 ? big / small : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtEventPump pastePump;
    const std::unique_ptr<ClipboardTextSource> clipboardReader =
        MakeHostClipboardTextSource(pastePump);
    UseClipboardTextSource(clipboardReader.get());
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
    const qsizetype bigLength = qsizetype(megabytes * 1'000'000);
    QTemporaryDir dir;

    const Figures small = measure(1'000, dir);
    const Figures big = measure(bigLength, dir);

    std::printf("platform %s, clipboard %s, line box 488 px wide\n",
                qPrintable(QGuiApplication::platformName()),
                big.external ? "from another program (xclip)" : "in-process");
    std::printf("%-34s %10s %10s %10s %10s\n", "operation (ms, median)", "1 KB",
                qPrintable(QStringLiteral("%1 MB").arg(megabytes)), "difference", "ratio");
    row("paste (Ctrl+V) and paint", small.paste, big.paste);
    row("first paint after the paste", small.paint, big.paint);
    row("first keystroke after the paste", small.firstKey, big.firstKey);
    row("keystroke at the end", small.keyEnd, big.keyEnd);
    row("keystroke at the start", small.keyStart, big.keyStart);
    row("Ctrl+End", small.ctrlEnd, big.ctrlEnd);
    row("select all and copy", small.selectCopy, big.selectCopy);
    std::printf(
        "memory after the paste: %ld KB for a line of %lld characters (%lld KB as "
        "UTF-16)\n",
        big.memoryKb, static_cast<long long>(bigLength),
        static_cast<long long>(bigLength * 2 / 1024));
    std::printf(
        "paste of the %s line: peak of the process %.0f MiB, longest stall of a 5 ms "
        "timer %lld ms\n",
        qPrintable(QStringLiteral("%1 MB").arg(megabytes)), big.peakMb,
        static_cast<long long>(big.longestStallMs));
    if (big.external) {
        std::printf("xclip -o -selection clipboard > /dev/null: %.0f ms; paste / xclip = %.2f\n",
                    big.xclipMs, big.paste / big.xclipMs);
    }
    UseClipboardTextSource(nullptr);
    return 0;
}
