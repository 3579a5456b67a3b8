#include "core/memory_pages.h"

#include <QTest>

#include <algorithm>
#include <cstdint>
#include <vector>

#ifdef __linux__
#include <unistd.h>
#endif

// The sort gives back the pages of its order while it still reads the rest of it, and big
// blocks go back a piece at a time: a page too many would wipe rows still to be read.
class MemoryPagesTest : public QObject {
    Q_OBJECT
  private slots:
    void onlyWholePagesInsideTheRangeGoBack_data();
    void onlyWholePagesInsideTheRangeGoBack();
};

void MemoryPagesTest::onlyWholePagesInsideTheRangeGoBack_data() {
    QTest::addColumn<qsizetype>("from");
    QTest::addColumn<qsizetype>("bytes");
    constexpr qsizetype kMb = 1 << 20;
    QTest::newRow("less than a page") << qsizetype(100) << qsizetype(3000);
    QTest::newRow("within one piece") << qsizetype(4095) << 5 * kMb + 17;
    QTest::newRow("over three pieces") << qsizetype(123) << 80 * kMb + 4321;
    QTest::newRow("from the block's start, two pieces") << qsizetype(0) << 64 * kMb;
}

void MemoryPagesTest::onlyWholePagesInsideTheRangeGoBack() {
#ifndef __linux__
    QSKIP("pages are given back on Linux only");
#else
    QFETCH(qsizetype, from);
    QFETCH(qsizetype, bytes);
    std::vector<unsigned char> block(100 << 20, 0xAB);
    unsigned char* const begin = block.data() + from;
    GiveBackWholePages(begin, static_cast<std::size_t>(bytes));

    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto address = [](const unsigned char* at) {
        return reinterpret_cast<std::uintptr_t>(at);
    };
    const auto isWholePageInside = [&](const unsigned char* at) {
        const std::uintptr_t pageStart = address(at) & ~(page - 1);
        return pageStart >= address(begin) && pageStart + page <= address(begin + bytes);
    };
    const auto firstWrong = std::find_if(block.begin(), block.end(), [&](const unsigned char& at) {
        return at != (isWholePageInside(&at) ? 0 : 0xAB);
    });
    QVERIFY2(firstWrong == block.end(),
             qPrintable(QStringLiteral("byte %1").arg(firstWrong - block.begin())));
#endif
}

QTEST_APPLESS_MAIN(MemoryPagesTest)
#include "test_memory_pages.moc"
