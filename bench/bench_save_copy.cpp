// Saving and copying a results list of millions of rows, against `tr` writing the same bytes,
// and "Copy As One Line" against "Copy Results To Clipboard" on the same list.
//
//   bench_save_copy [rows] [folder] [--real-clipboard]
//
// rows defaults to 10,000,000 (eight characters each: 100 MB of text with CR LF), folder to
// the current one. With --real-clipboard (needs an X display and xclip) the text also goes on
// the real clipboard and is read back with xclip. Every figure is the best of three runs.
#include "list_tidying/one_line_copy.h"
#include "output/copy_list_to_clipboard.h"
#include "output/save_list_to_text_file.h"
#include "platform/qt/qt_platform.h"
#include "shell/mouse_pointer.h"
#include "shell/yielding_loop.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <sys/resource.h>

namespace {

double seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double statusMb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

bool runCommand(const QString& command) {
    return std::system(command.toLocal8Bit().constData()) == 0;
}

// CPU seconds of this process and of its finished children (tr), user and system.
double cpuSeconds() {
    double total = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

// The machine may be shared, so both wall and CPU time are kept, each the best of three.
template <typename Action>
Timing bestOfThree(Action&& action) {
    Timing best;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        const double cpuBefore = cpuSeconds();
        timer.start();
        action();
        best.wall = std::min(best.wall, seconds(timer));
        best.cpu = std::min(best.cpu, cpuSeconds() - cpuBefore);
    }
    return best;
}

void printRatio(const char* what, const Timing& t, const char* base, const Timing& b) {
    std::printf("%-26s wall %.3f s  cpu %.3f s   ratio to %s: wall %.2f  cpu %.2f (limit 1.50)\n",
                what, t.wall, t.cpu, base, t.wall / b.wall, t.cpu / b.cpu);
}

bool sameBytes(const QString& a, const QString& b) {
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size()) {
        return false;
    }
    const uchar* ma = fa.map(0, fa.size());
    const uchar* mb = fb.map(0, fb.size());
    return fa.size() == 0 || (ma && mb && std::equal(ma, ma + fa.size(), mb));
}

// Reads the clipboard with xclip while this process keeps serving it.
bool clipboardReadsBack(const QString& expectedFile, const QString& folder, double& secondsTaken) {
    const QString readBack = folder + QStringLiteral("/bench-clipboard.txt");
    std::atomic<bool> done{false};
    bool ok = false;
    QElapsedTimer timer;
    timer.start();
    std::thread reader([&] {
        ok = runCommand(QStringLiteral("xclip -selection clipboard -o -target UTF8_STRING > '%1'")
                            .arg(readBack));
        done = true;
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    reader.join();
    secondsTaken = seconds(timer);
    const bool same = ok && sameBytes(expectedFile, readBack);
    QFile::remove(readBack);
    return same;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList args;
    bool realClipboard = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--real-clipboard") == 0) {
            realClipboard = true;
        } else {
            args << QString::fromLocal8Bit(argv[i]);
        }
    }
    if (!realClipboard) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const qsizetype rows = args.value(0, QStringLiteral("10000000")).toLongLong();
    const QString folder = QDir(args.value(1, QStringLiteral("."))).absolutePath();
    QtPlatform host;
    Platform& platform = host.platform();

    // The list as the splitter leaves it: spans of one shared long line.
    const double rssBeforeList = statusMb("VmRSS:");
    ReportList list;
    list.addColumn(QStringLiteral("Output"));
    {
        QString line;
        line.reserve(rows * 9);
        for (qsizetype i = 0; i < rows; ++i) {
            line += QStringLiteral("r%1,").arg(i % 10000000, 7, 10, QLatin1Char('0'));
        }
        list.reserveMore(rows);
        for (qsizetype i = 0; i < rows; ++i) {
            list.appendSpan(line, {static_cast<quint32>(i * 9), 8});
        }
    }
    QCoreApplication::processEvents();
    const double listMb = statusMb("VmRSS:") - rssBeforeList;

    const QString saved = folder + QStringLiteral("/bench-saved.txt");
    const QString trIn = folder + QStringLiteral("/bench-tr-in.txt");
    const QString trOut = folder + QStringLiteral("/bench-tr-out.txt");

    qint64 saveGapMs = 0;
    const Timing save = bestOfThree([&] {
        QFile::remove(saved);
        host.pump().resetLongestGap();
        YieldingLoop loop(platform.pump);
        SaveListToTextFile(platform, list, saved, loop);
        saveGapMs = std::max(saveGapMs, host.pump().longestGapMs());
    });
    QFile::copy(saved, trIn);
    const Timing tr =
        bestOfThree([&] { runCommand(QStringLiteral("tr a a < '%1' > '%2'").arg(trIn, trOut)); });
    const bool trSame = sameBytes(saved, trOut);

    QString text;
    qint64 buildGapMs = 0;
    const Timing build = bestOfThree([&] {
        host.pump().resetLongestGap();
        YieldingLoop loop(platform.pump);
        text = BuildClipboardText(list, loop).text;
        buildGapMs = std::max(buildGapMs, host.pump().longestGapMs());
    });
    const qsizetype textChars = text.size();
    text = QString();

    QCoreApplication::processEvents();
    const double rssBeforeCopy = statusMb("VmRSS:");
    resetPeakMemory();
    {
        YieldingLoop loop(platform.pump);
        QString copied = BuildClipboardText(list, loop).text;
    }
    const double copyPeakMb = statusMb("VmHWM:") - rssBeforeCopy;
    const double textMb = static_cast<double>(textChars) * 2 / (1024.0 * 1024.0);

    std::printf("rows                      %lld\n", static_cast<long long>(rows));
    std::printf("file bytes                %lld (same bytes as tr: %s)\n",
                static_cast<long long>(QFileInfo(saved).size()), trSame ? "yes" : "NO");
    std::printf("%-26s wall %.3f s  cpu %.3f s\n", "tr a a < in > out", tr.wall, tr.cpu);
    printRatio("SaveListToTextFile", save, "tr", tr);
    printRatio("clipboard text build", build, "save", save);
    std::printf("list memory               %.0f MB\n", listMb);
    std::printf("clipboard text (UTF-16)   %.0f MB\n", textMb);
    std::printf("copy peak above the list  %.0f MB   limit 2 x text = %.0f MB\n", copyPeakMb,
                2 * textMb);
    std::printf("longest gap between event-loop runs: save %lld ms, copy %lld ms\n",
                static_cast<long long>(saveGapMs), static_cast<long long>(buildGapMs));

    // Both copies whole, as the user starts them: the results' copy with its loop, the one
    // line with its job on a copy of the rows, each ending with the text on the clipboard.
    const Timing copyResults = bestOfThree([&] {
        YieldingLoop loop(platform.pump);
        CopyListToClipboard(platform, list, loop);
    });
    QWidget window;
    ProgressBar bar(&window);
    WindowMousePointer pointer(&window, platform.pointers);
    OneLineCopy oneLine(bar, platform, pointer, nullptr);
    qsizetype oneLineChars = 0;
    QObject::connect(&oneLine, &OneLineCopy::copied,
                     [&](qsizetype, qsizetype characters) { oneLineChars = characters; });
    const auto copyAsOneLine = [&](const OneLineFormat& format) {
        return bestOfThree([&] {
            QEventLoop done;
            QObject::connect(&oneLine, &OneLineCopy::copied, &done, &QEventLoop::quit);
            oneLine.start(list.rows(), format);
            if (oneLine.working()) {
                done.exec();
            }
        });
    };
    const Timing plain = copyAsOneLine({QStringLiteral(", "), QChar()});
    const qsizetype plainChars = oneLineChars;
    const Timing quoted = copyAsOneLine({QStringLiteral(","), QLatin1Char('\'')});
    std::printf("%-26s wall %.3f s  cpu %.3f s\n", "Copy Results To Clipboard", copyResults.wall,
                copyResults.cpu);
    printRatio("Copy As One Line \", \"", plain, "copy", copyResults);
    printRatio("Copy As One Line ,''", quoted, "copy", copyResults);
    std::printf("one line characters       %lld (', ')  %lld (quoted)\n",
                static_cast<long long>(plainChars), static_cast<long long>(oneLineChars));

    int status = trSame ? 0 : 1;
    if (realClipboard) {
        QElapsedTimer timer;
        timer.start();
        YieldingLoop loop(platform.pump);
        CopyListToClipboard(platform, list, loop);
        const double setSeconds = seconds(timer);
        double readSeconds = 0;
        const bool same = clipboardReadsBack(saved, folder, readSeconds);
        std::printf("CopyListToClipboard       %.3f s\n", setSeconds);
        std::printf("xclip read-back           %.3f s   same bytes: %s\n", readSeconds,
                    same ? "yes" : "NO");
        status |= same ? 0 : 1;
    }
    QFile::remove(saved);
    QFile::remove(trIn);
    QFile::remove(trOut);
    return status;
}
