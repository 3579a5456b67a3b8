#include "core/memory_pages.h"

#include <QTest>

#include <vector>

#include <unistd.h>

// The sort gives back the pages of its order while it still reads the rest of it, and big
// blocks go back 32 MB at a time: a page too many would wipe rows still to be read.
class MemoryPagesTest : public QObject {
    Q_OBJECT
  private slots:
    void onlyWholePagesInsideTheRangeGoBack() {
        const auto page = static_cast<quintptr>(sysconf(_SC_PAGESIZE));
        std::vector<unsigned char> block(100 << 20, 0xAB);
        const auto base = reinterpret_cast<quintptr>(block.data());
        GiveBackWholePages(block.data() + 100, 3000);  // holds no whole page
        const quintptr from = 123;
        const quintptr bytes = (80 << 20) + 4321;  // over three pieces, ends within a page
        GiveBackWholePages(block.data() + from, bytes);
        const quintptr first = (base + from + page - 1) / page * page - base;
        const quintptr last = (base + from + bytes) / page * page - base;
        for (quintptr at = 0; at < block.size(); ++at) {
            if (block[at] != (at >= first && at < last ? 0 : 0xAB)) {
                QFAIL(qPrintable(QStringLiteral("byte %1").arg(at)));
            }
        }
    }
};

QTEST_APPLESS_MAIN(MemoryPagesTest)
#include "test_memory_pages.moc"
