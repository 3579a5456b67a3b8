// Opening the batch window from the main window and going back, a thousand times: resident
// memory must stay flat, so nothing of an earlier opening is left behind.
//
//   build/bench/bench_batch_cycles [cycles=1000] [warm-up=10]
//
// The first openings load fonts and fill the style's caches; the warm-up runs past them.

#include "batch_window/batch_window.h"
#include "bench_support.h"
#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"
#include "support/window_controls.h"
#include "widgets/report_list/report_list.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <QPixmapCache>

#include <malloc.h>
#include <cstdio>

namespace {
void openAndGoBack(MainWindow& main) {
    QTest::mouseClick(controls(main).openBatchWindowButton, Qt::LeftButton);
    BatchWindow* batch = main.batchWindow();
    if (batch == nullptr) {
        std::fprintf(stderr, "the batch window did not open\n");
        std::exit(1);
    }
    // A row, so the lists hold data.
    QTest::mouseClick(controls(*batch).loadSampleButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::mouseClick(controls(*batch).backButton, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    QtPlatform host;
    MainWindow main(host.platform());
    main.load();
    main.show();
    QCoreApplication::processEvents();

    const int warmUp = argc > 2 ? QByteArray(argv[2]).toInt() : 10;
    for (int i = 0; i < warmUp; ++i) {
        openAndGoBack(main);
    }
    const double afterWarmUp = bench::currentMemoryMb();
    const double heapAfterWarmUp = mallinfo2().uordblks / 1e6;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < cycles; ++i) {
        openAndGoBack(main);
    }
    const double seconds = bench::seconds(timer);
    const double atEnd = bench::currentMemoryMb();
    const double heapAtEnd = mallinfo2().uordblks / 1e6;

    std::printf("%d openings and backs (after %d to warm up)\n", cycles, warmUp);
    std::printf("  resident after warm-up:   %.1f MB\n", afterWarmUp);
    std::printf("  resident at the end:      %.1f MB  = %+.1f %%  (goal within 5 %%)\n", atEnd,
                (atEnd / afterWarmUp - 1) * 100);
    std::printf("  heap in use:              %.1f MB -> %.1f MB (style pixmap cache limit %d KB)\n",
                heapAfterWarmUp, heapAtEnd, QPixmapCache::cacheLimit());
    std::printf("  time per cycle:           %.2f ms\n", seconds * 1e3 / cycles);
    std::fflush(stdout);
    return main.isVisible() && main.batchWindow() == nullptr ? 0 : 1;
}
