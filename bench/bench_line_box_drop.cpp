// Times a text file dropped on the main window's line box against a paste of the same text into
// it, in one run, with the peak memory and the longest stall of each.
//
//   xvfb-run -a bench_line_box_drop [megabytes]        (default 100)
//
// Under a real X server the text is put on the clipboard by xclip and the paste reads it as the
// program does (the host's reader); on other platforms the clipboard is in-process. The file
// was just written, so both read it from the page cache. Each figure includes the repaint that
// shows the result; times and stalls are the median of three runs taken in turn, the peak the
// highest.
#include "bench_support.h"
#include "main_window/main_window.h"
#include "platform/qt/host_back_ends.h"
#include "platform/qt/qt_event_pump.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct Figures {
    double ms = 0, cpuMs = 0, peakMb = 0, riseMb = 0;
    qint64 stallMs = 0;
};

Figures timed(const std::function<void()>& op) {
    QCoreApplication::processEvents();
    const double before = bench::currentMemoryMb();
    bench::resetPeakMemory();
    bench::InputWaitProbe probe;
    probe.start();
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpu = std::clock();
    op();
    Figures f;
    f.ms = double(timer.nsecsElapsed()) / 1e6;
    // On a busy machine the paste gains from xclip's reading the file in a process of its own.
    f.cpuMs = double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
    f.stallMs = probe.stop();
    f.peakMb = bench::peakMemoryMb();
    f.riseMb = f.peakMb - before;
    return f;
}

// 100 MB of "12345678," pieces, as in the other line box benchmarks.
bool writeLine(const QString& path, qsizetype length) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray block;
    while (block.size() < (1 << 20)) {
        block += "12345678,";
    }
    for (qsizetype left = length; left > 0; left -= block.size()) {
        if (file.write(block.constData(), std::min<qsizetype>(left, block.size())) < 0) {
            return false;
        }
    }
    return true;
}

Figures median(std::vector<Figures> runs) {
    const auto middle = [&](auto member) {
        std::sort(runs.begin(), runs.end(),
                  [&](const Figures& a, const Figures& b) { return a.*member < b.*member; });
        return runs[runs.size() / 2].*member;
    };
    Figures f;
    f.ms = middle(&Figures::ms);
    f.cpuMs = middle(&Figures::cpuMs);
    f.stallMs = middle(&Figures::stallMs);
    for (const Figures& run : runs) {
        f.peakMb = std::max(f.peakMb, run.peakMb);
        f.riseMb = std::max(f.riseMb, run.riseMb);
    }
    return f;
}

void print(const char* what, const Figures& f) {
    std::printf(
        "%-28s %7.0f ms (CPU %7.0f ms)  peak %6.0f MiB (+%5.0f MiB)  longest stall %4lld ms\n",
        what, f.ms, f.cpuMs, f.peakMb, f.riseMb, static_cast<long long>(f.stallMs));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtEventPump pump;
    const std::unique_ptr<ClipboardTextSource> clipboardReader = MakeHostClipboardTextSource(pump);
    UseClipboardTextSource(clipboardReader.get());
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
    const qsizetype length = qsizetype(megabytes * 1'000'000);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.txt"));
    if (!writeLine(path, length)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    FakePlatform fake;
    Platform platform = fake.withPump(pump);
    MainWindow form(platform);
    form.load();
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    LineBox* box = controls(form).lineBox;
    box->setFocus();

    const bool external = QGuiApplication::platformName() == QLatin1String("xcb");
    const auto offer = [&] {
        if (external) {
            const QByteArray command = "xclip -selection clipboard -i '" + path.toLocal8Bit() + "'";
            if (std::system(command.constData()) != 0) {
                std::exit(1);
            }
            for (int i = 0; i < 200 && QGuiApplication::clipboard()->ownsClipboard(); ++i) {
                QTest::qWait(10);
            }
        } else {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::exit(1);
            }
            QGuiApplication::clipboard()->setText(QString::fromLatin1(file.readAll()));
        }
    };
    const auto check = [&](const char* what) {
        if (box->text().size() != length) {
            std::fprintf(stderr, "%s gave %lld characters, not %lld\n", what,
                         static_cast<long long>(box->text().size()),
                         static_cast<long long>(length));
            std::exit(1);
        }
        box->setText(QString());  // forgets the undo history too
        QGuiApplication::clipboard()->clear();
    };
    std::vector<Figures> pastes;
    std::vector<Figures> drops;
    for (int run = 0; run < 3; ++run) {
        offer();
        pastes.push_back(timed([&] {
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            box->repaint();
        }));
        check("the paste");
        drops.push_back(timed([&] {
            form.lineBoxFilesDropped({path}, 0);
            box->repaint();
        }));
        check("the drop");
    }
    const Figures paste = median(pastes);
    const Figures drop = median(drops);

    std::printf("platform %s, clipboard %s, a line of %.0f MB\n",
                qPrintable(QGuiApplication::platformName()),
                external ? "from another program (xclip)" : "in-process", megabytes);
    print("paste (Ctrl+V) and paint", paste);
    print("drop of the file and paint", drop);
    std::printf("drop / paste = %.2f\n", drop.ms / paste.ms);
    UseClipboardTextSource(nullptr);
    return 0;
}
