#include "core/row_store.h"

#include <QRandomGenerator>
#include <QTest>

#include <utility>
#include <vector>

// The row store against a plain list of strings, over many blocks: appends of spans and of
// texts, removals anywhere, copies that must not see each other's changes, and the rows of a
// second store handed over whole.
class RowStoreTest : public QObject {
    Q_OBJECT
  private slots:
    void behavesLikeAPlainListAcrossBlocks_data();
    void behavesLikeAPlainListAcrossBlocks();
};

namespace {
struct Mirror {
    RowStore store;
    QStringList rows;
};

void expectSame(const Mirror& mirror) {
    QCOMPARE(mirror.store.size(), mirror.rows.size());
    qsizetype total = 0;
    for (qsizetype row = 0; row < mirror.rows.size(); ++row) {
        if (mirror.store.view(RowIndex(row)) != mirror.rows[row]) {
            QFAIL(qPrintable(QStringLiteral("row %1 differs").arg(row)));
        }
        total += mirror.rows[row].size();
    }
    QCOMPARE(mirror.store.totalLength(), total);
    // Reading backwards and by jumps goes through the block search, not the next-block hint.
    for (qsizetype row = mirror.rows.size() - 1; row >= 0; row -= 997) {
        QCOMPARE(mirror.store.view(RowIndex(row)), mirror.rows[row]);
    }
}
}  // namespace

void RowStoreTest::behavesLikeAPlainListAcrossBlocks_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("removals");
    QTest::addColumn<bool>("copyMidway");
    QTest::addColumn<int>("sourceRun");        // rows in a row from one of two lines
    QTest::addColumn<bool>("spansOnly");       // no typed texts, which make blocks of many sources
    QTest::addColumn<int>("handOverAt");       // the rows from here on are made in a second store
    QTest::addColumn<bool>("emptyLastFirst");  // the first store's last block, before that
    QTest::addColumn<int>("readAt");           // every row read once, with this many made
    const int blockRows = int(RowStore::kBlockRows);
    QTest::newRow("a few rows") << 10 << 10 << false << 1 << false << -1 << false << -1;
    QTest::newRow("many blocks, some emptied")
        << 5 * blockRows << 12'000 << false << 5000 << false << -1 << false << -1;
    QTest::newRow("a copy changed apart")
        << 3 * blockRows << 4'000 << true << 1 << false << -1 << false << -1;
    QTest::newRow("lines taking turns")
        << 3 * blockRows << 3'000 << false << 3 << false << -1 << false << -1;
    // Its sources in another order, after a block part full.
    QTest::newRow("a store handed over")
        << 3 * blockRows << 3'000 << false << 5000 << false << 9000 << false << -1;
    QTest::newRow("a store handed over after an emptied block")
        << 3 * blockRows << 3'000 << false << 5000 << false << 9000 << true << -1;
    QTest::newRow("blocks of one source handed over")
        << 3 * blockRows << 3'000 << false << 5000 << true << 9000 << false << -1;
    // A block read while it was the last one, part full, and then filled by appends.
    QTest::newRow("read, then grown past its last block")
        << 3 * blockRows << 0 << false << 1 << true << -1 << false << blockRows / 2 + 373;
}

void RowStoreTest::behavesLikeAPlainListAcrossBlocks() {
    QFETCH(int, rows);
    QFETCH(int, removals);
    QFETCH(bool, copyMidway);
    QFETCH(int, sourceRun);
    QFETCH(bool, spansOnly);
    QFETCH(int, handOverAt);
    QFETCH(bool, emptyLastFirst);
    QFETCH(int, readAt);
    QRandomGenerator random(rows);
    const QString lines[] = {QStringLiteral("alpha,beta,gamma,delta,").repeated(rows / 4 + 1),
                             QStringLiteral("one,two,").repeated(rows / 2 + 1)};
    Mirror mirror;
    Mirror first;
    Mirror partOfSecond;  // shares the second store's first blocks, and must keep their rows
    for (int i = 0; i < rows; ++i) {
        if (i == readAt) {
            expectSame(mirror);
        }
        if (i == handOverAt) {
            std::swap(first, mirror);
        } else if (handOverAt >= 0 && i == handOverAt + int(RowStore::kBlockRows)) {
            partOfSecond = mirror;
        }
        // Spans of one line, with now and then a typed text or a long one in between.
        const int kind = spansOnly ? 2 : random.bounded(20);
        if (kind == 0) {
            const QString typed = QString::number(i).repeated(random.bounded(3));
            mirror.store.append(typed);
            mirror.rows << typed;
        } else if (kind == 1 && i % 7 == 0) {
            const QString longText(5000, QChar(u'a' + i % 26));
            mirror.store.append(longText);
            mirror.rows << longText;
        } else {
            const QString& line = lines[(i / sourceRun) % 2];
            const qsizetype at = random.bounded(static_cast<int>(line.size() - 8));
            const quint32 length = random.bounded(8);
            mirror.store.appendSpan(line, {at, length});
            mirror.rows << line.mid(at, length);
        }
    }
    if (handOverAt >= 0) {
        while (emptyLastFirst && first.rows.size() > RowStore::kBlockRows) {
            first.store.remove(RowIndex(first.rows.size() - 1));
            first.rows.removeLast();
        }
        first.store.appendAll(std::move(mirror.store));
        first.rows << mirror.rows;
        QVERIFY(mirror.store.empty());
        mirror = std::move(first);
        expectSame(partOfSecond);
    }
    expectSame(mirror);

    Mirror copy;
    for (int i = 0; i < removals && !mirror.rows.isEmpty(); ++i) {
        if (copyMidway && i == removals / 2) {
            copy = mirror;
        }
        // Mostly near the front, so that whole blocks empty, and anywhere else.
        const qsizetype row = i % 3 == 0 ? random.bounded(static_cast<int>(mirror.rows.size()))
                                         : random.bounded(std::min<int>(50, mirror.rows.size()));
        mirror.store.remove(RowIndex(row));
        mirror.rows.removeAt(row);
        if (i % 1000 == 0) {
            expectSame(mirror);
        }
    }
    expectSame(mirror);
    mirror.store.append(QStringLiteral("after"));
    mirror.rows << QStringLiteral("after");
    expectSame(mirror);

    if (copyMidway) {
        expectSame(copy);  // untouched by the removals after it was made
        copy.store.remove(RowIndex(0));
        copy.rows.removeFirst();
        copy.store.appendSpan(lines[0], {0, 5});
        copy.rows << QStringLiteral("alpha");
        expectSame(copy);
        expectSame(mirror);
    }
    mirror.store.clear();
    QCOMPARE(mirror.store.size(), 0);
}

QTEST_APPLESS_MAIN(RowStoreTest)
#include "test_row_store.moc"
