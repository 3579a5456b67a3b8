#include "core/memory_pages.h"

#include <QTest>

#include <algorithm>
#include <vector>

#include <unistd.h>

// The sort gives back the pages of its order while it still reads the rest of it, and big
// blocks go back a piece at a time: a page too many would wipe rows still to be read.
class MemoryPagesTest : public QObject {
    Q_OBJECT
  private slots:
    void onlyWholePagesInsideTheRangeGoBack_data() {
        QTest::addColumn<qsizetype>("from");
        QTest::addColumn<qsizetype>("bytes");
        QTest::newRow("less than a page") << qsizetype(100) << qsizetype(3000);
        QTest::newRow("within one piece") << qsizetype(4095) << qsizetype(5 << 20) + 17;
        QTest::newRow("over three pieces") << qsizetype(123) << qsizetype(80 << 20) + 4321;
        QTest::newRow("from the block's start") << qsizetype(0) << qsizetype(64 << 20);
    }
    void onlyWholePagesInsideTheRangeGoBack() {
        QFETCH(qsizetype, from);
        QFETCH(qsizetype, bytes);
        std::vector<unsigned char> block(100 << 20, 0xAB);
        GiveBackWholePages(block.data() + from, static_cast<std::size_t>(bytes));
        const auto page = static_cast<qsizetype>(sysconf(_SC_PAGESIZE));
        const auto base = reinterpret_cast<quintptr>(block.data());
        // Offsets in the block of the first and past the last whole page of the range.
        const qsizetype first = qsizetype((base + from + page - 1) / page * page - base);
        const qsizetype last =
            std::max(first, qsizetype((base + from + bytes) / page * page - base));
        for (qsizetype at = 0; at < qsizetype(block.size()); ++at) {
            if (block[at] != (at >= first && at < last ? 0 : 0xAB)) {
                QFAIL(qPrintable(QStringLiteral("byte %1").arg(at)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(MemoryPagesTest)
#include "test_memory_pages.moc"
