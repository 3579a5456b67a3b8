// "Load Long Lines From Text File" on one file of a million lines, against Python reading and
// splitting the same file into lines in the same run.
//
//   build/bench/bench_batch_load [lines=1000000]

#include "batch_window/batch_window.h"
#include "bench_support.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "widgets/report_list/report_list.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <string>

namespace {

// Lines of 99 bytes (a number, then x's) with LF endings.
void writeInput(const QString& path, qsizetype lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    QByteArray line(99, 'x');
    line.append('\n');
    QByteArray block;
    for (qsizetype i = 0; i < lines; ++i) {
        const QByteArray number = QByteArray::number(i);
        line.replace(0, number.size(), number);
        block += line;
        if (block.size() > (1 << 22)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

// Python's own timing of open(...).read().splitlines(), so that starting Python does not count.
double pythonSeconds(const QString& path) {
    const std::string command =
        "python3 -c 'import sys, time\n"
        "t = time.perf_counter()\n"
        "lines = open(sys.argv[1], encoding=\"utf-8\", newline=\"\").read().splitlines()\n"
        "print(time.perf_counter() - t, len(lines))' '" +
        path.toStdString() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    double seconds = -1;
    long long lines = 0;
    if (pipe == nullptr || std::fscanf(pipe, "%lf %lld", &seconds, &lines) != 2) {
        std::fprintf(stderr, "python3 failed\n");
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return seconds;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype lines = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1'000'000;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("lines.txt"));
    writeInput(path, lines);

    // Once to warm the page cache for both readers.
    const double pythonFirst = pythonSeconds(path);
    const double python = pythonSeconds(path);

    FakePlatform fake;
    QWidget mainWindow;
    BatchWindow form(fake.platform, &mainWindow);
    form.load();
    form.show();
    QCoreApplication::processEvents();

    fake.fileDialogs.openAnswers.push_back({path});
    const double before = bench::currentMemoryMb();
    bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(controls(form).loadFilesButton, Qt::LeftButton);
    const double load = bench::seconds(timer);
    const double peak = bench::peakMemoryMb();
    QCoreApplication::processEvents();
    const double shown = bench::seconds(timer);

    std::printf("%lld lines of 99 bytes, LF endings (%.0f MB)\n", static_cast<long long>(lines),
                QFileInfo(path).size() / 1e6);
    std::printf("  python splitlines:        %.3f s  (first, cold: %.3f s)\n", python, pythonFirst);
    std::printf("  load, click to last row:  %.3f s  = %.2f x python  (goal <= 1)\n", load,
                load / python);
    std::printf("  rows shown by the list:   %.3f s after the click\n", shown);
    std::printf("  rows in the input list:   %lld\n",
                static_cast<long long>(controls(form).inputList->count()));
    std::printf("  peak memory:              %.0f MB (process; %.0f MB before the click)\n", peak,
                before);
    std::fflush(stdout);
    // The final LF adds an empty row.
    return controls(form).inputList->count() == lines + 1 ? 0 : 1;
}
