#include "core/fault_injection.h"
#include "core/row_tidying.h"
#include "core/tidy_steps.h"

#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <utility>

Q_DECLARE_METATYPE(TidyAction)

namespace {

// Spans of one shared text, as a split makes them, every third row a text of its own as typed
// rows are: reading a row then means finding its source.
void fill(RowStore& store, const QStringList& rows) {
    const QString source = rows.join(QString());
    qint64 offset = 0;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (row % 3 == 2) {
            store.append(rows[row]);
        } else {
            store.appendSpan(source, {offset, static_cast<quint32>(rows[row].size())});
        }
        offset += rows[row].size();
    }
}

QStringList textsOf(const RowStore& store) {
    QStringList texts;
    for (RowIndex row{0}; row < RowIndex(store.size()); ++row) {
        texts << store.text(row);
    }
    return texts;
}

QList<int> mapOf(const TidyResult& result, qsizetype oldRows) {
    QList<int> map;
    for (RowIndex row{0}; row < RowIndex(oldRows); ++row) {
        const std::optional<RowIndex> newRow = result.newRows.newRowOf(row);
        map << (newRow ? int(newRow->get()) : -1);
    }
    return map;
}

const QList<int> kUnchanged{-2};  // in the `map` column: the action must leave the list alone

QStringList numbered(const QString& pattern, const QList<int>& numbers) {
    QStringList rows;
    for (int number : numbers) {
        rows << pattern.arg(number);
    }
    return rows;
}

}  // namespace

// Each action over small lists: the new rows, where every old row went, and that a list the
// action would not change gives no new list. The input is never touched.
class RowTidyingTest : public QObject {
    Q_OBJECT
  private slots:
    void actions_data();
    void actions();
    void trimmedRowsShareTheirSource();
    void duplicatesOfOneHashAreToldByText_data();
    void duplicatesOfOneHashAreToldByText();
    void stopRequestMakesNothing_data();
    void stopRequestMakesNothing();
};

void RowTidyingTest::actions_data() {
    QTest::addColumn<TidyAction>("action");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("map");  // old row -> new row, -1 gone; empty: all in place

    const auto trim = TidyAction::TrimSpaces;
    QTest::newRow("trim: spaces and tabs at both ends")
        << trim << "" << QStringList{" a ", "\tb\t", "c", "  d  e  "}
        << QStringList{"a", "b", "c", "d  e"} << QList<int>{};
    QTest::newRow("trim: no-break, em and ideographic spaces, line ends")
        << trim << "" << QStringList{"\u00A0x\u2003", "\u3000y\u3000", "\r\nz\v\f\u0085"}
        << QStringList{"x", "y", "z"} << QList<int>{};
    QTest::newRow("trim: a row of spaces becomes empty and stays")
        << trim << "" << QStringList{" \t\u00A0", "x"} << QStringList{"", "x"} << QList<int>{};
    QTest::newRow("trim: surrogates and zero-width space are not space")
        << trim << "" << QStringList{"\U0001F600 ", " \U00020000", QString(QChar(0xDC00)) + " "}
        << QStringList{"\U0001F600", "\U00020000", QString(QChar(0xDC00))} << QList<int>{};
    QTest::newRow("trim: nothing to trim")
        << trim << "" << QStringList{"a", "\u200Bb\u200B", ""} << QStringList{} << kUnchanged;

    const auto empty = TidyAction::RemoveEmptyRows;
    QTest::newRow("empty: first, middle and last go")
        << empty << "" << QStringList{"", "a", "", "b", "", ""} << QStringList{"a", "b"}
        << QList<int>{-1, 0, -1, 1, -1, -1};
    QTest::newRow("empty: all go")
        << empty << "" << QStringList{"", ""} << QStringList{} << QList<int>{-1, -1};
    QTest::newRow("empty: rows of spaces stay")
        << empty << "" << QStringList{" ", "\t", "a"} << QStringList{} << kUnchanged;

    const auto duplicates = TidyAction::RemoveDuplicateRows;
    QTest::newRow("duplicates: later copies go, first stays in place")
        << duplicates << "" << QStringList{"b", "a", "b", "", "a", "", "c"}
        << QStringList{"b", "a", "", "c"} << QList<int>{0, 1, -1, 2, -1, -1, 3};
    QTest::newRow("duplicates: exact code units, case and spaces count")
        << duplicates << "" << QStringList{"A", "a", "a ", "\u00E9", "e\u0301", "ab", "abc"}
        << QStringList{} << kUnchanged;
    QList<int> thousands(3000);
    std::iota(thousands.begin(), thousands.end(), 0);
    QTest::newRow("duplicates: far apart")
        << duplicates << "" << numbered("row%1", thousands) + QStringList{"row7", "row2999", "row"}
        << numbered("row%1", thousands) + QStringList{"row"}
        << thousands + QList<int>{-1, -1, 3000};

    // Rows sharing a partition and a tag, and rows far apart across the two threads' halves and
    // many partitions, must still be told apart by their texts.
    QList<int> spread(70000);
    std::iota(spread.begin(), spread.end(), 0);
    QTest::newRow("duplicates: across partitions and halves")
        << duplicates << "" << numbered("%1", spread) + QStringList{"69999", "0", "35000"}
        << numbered("%1", spread) << spread + QList<int>{-1, -1, -1};

    // Full folding: one character may fold to two, and only the first row of each stays.
    const auto folded = TidyAction::RemoveDuplicateRowsIgnoringCase;
    QTest::newRow("ignore case: full folding")
        << folded << "" << QStringList{"Stra\u00DFe",  "STRASSE",      "strasse", "\u03A3\u03B1",
                                       "\u03C3\u03B1", "\u03C2\u03B1", "x",       "X"}
        << QStringList{"Stra\u00DFe", "\u03A3\u03B1", "x"}
        << QList<int>{0, -1, -1, 1, -1, -1, 2, -1};
    QTest::newRow("ignore case: dotted capital I folds to i and a dot, not to i")
        << folded << "" << QStringList{"\u0130", "i", "i\u0307", "I"} << QStringList{"\u0130", "i"}
        << QList<int>{0, 1, -1, -1};
    QTest::newRow("ignore case: nothing but case differs from an earlier row")
        << folded << "" << QStringList{"Apple", "pear", "APPLE", "aPPLE"}
        << QStringList{"Apple", "pear"} << QList<int>{0, 1, -1, -1};
    QTest::newRow("ignore case: accents and spaces still count")
        << folded << "" << QStringList{"e", "\u00E9", "E ", "\u00C9"}
        << QStringList{"e", "\u00E9", "E "} << QList<int>{0, 1, 2, -1};
    // Run with tiny pieces too (see actions()): rows that differ past the first piece, and
    // foldings of another length ("\u00DF" to "ss"), or of a surrogate pair, across piece ends.
    QTest::newRow("ignore case: rows that differ only at their end")
        << folded << "" << QStringList{"Stra\u00DFe 1", "STRASSE 2"} << QStringList{} << kUnchanged;
    QTest::newRow("ignore case: equal foldings of other lengths")
        << folded << "" << QStringList{"\u00DF\u00DF",
                                       "SSSS",
                                       "sSsS",
                                       "x\U00010400y\u00DFz",
                                       "X\U00010428YSSZ",
                                       "x\U00010400y\u00DFz!"}
        << QStringList{"\u00DF\u00DF", "x\U00010400y\u00DFz", "x\U00010400y\u00DFz!"}
        << QList<int>{0, -1, -1, 1, -1, 2};

    const auto up = TidyAction::SortAToZ;
    const auto down = TidyAction::SortZToA;
    QTest::newRow("A-Z: numbers inside names compare as numbers")
        << up << "en_US" << QStringList{"row10", "row2", "row1", "row"}
        << QStringList{"row", "row1", "row2", "row10"} << QList<int>{3, 2, 1, 0};
    QTest::newRow("Z-A: numbers inside names compare as numbers")
        << down << "en_US" << QStringList{"row2", "row10", "row1"}
        << QStringList{"row10", "row2", "row1"} << QList<int>{1, 0, 2};
    QTest::newRow("A-Z: the C locale sorts as a person would, not by code")
        << up << "C" << QStringList{"row10", "b", "B", "row2", "a"}
        << QStringList{"a", "b", "B", "row2", "row10"} << QList<int>{4, 1, 2, 3, 0};
    QTest::newRow("A-Z: accents after their letter, empty rows first")
        << up << "en_US" << QStringList{"f", "\u00E9", "", "e"}
        << QStringList{"", "e", "\u00E9", "f"} << QList<int>{3, 2, 0, 1};
    QTest::newRow("A-Z: Swedish puts a-umlaut after z")
        << up << "sv_SE" << QStringList{"\u00E4", "z", "a"} << QStringList{"a", "z", "\u00E4"}
        << QList<int>{2, 1, 0};
    QTest::newRow("A-Z: German puts a-umlaut beside a")
        << up << "de_DE" << QStringList{"\u00E4", "z", "a"} << QStringList{"a", "\u00E4", "z"}
        << QList<int>{1, 2, 0};
    QTest::newRow("A-Z: equal rows keep their order")
        << up << "en_US" << QStringList{"b", "a", "b", "a"} << QStringList{"a", "a", "b", "b"}
        << QList<int>{2, 0, 3, 1};
    QTest::newRow("Z-A: equal rows keep their order")
        << down << "en_US" << QStringList{"a", "b", "a", "b"} << QStringList{"b", "b", "a", "a"}
        << QList<int>{2, 0, 3, 1};
    QTest::newRow("A-Z: keys alike past their first bytes")
        << up << "en_US" << QStringList{"a long common start 2", "a long common start 10"}
        << QStringList{"a long common start 2", "a long common start 10"} << kUnchanged;
    QTest::newRow("Z-A: keys alike past their first bytes")
        << down << "en_US" << QStringList{"a long common start 2", "a long common start 10"}
        << QStringList{"a long common start 10", "a long common start 2"} << QList<int>{1, 0};
    const QString longStart(300, QLatin1Char('x'));
    QTest::newRow("A-Z: keys longer than a few hundred bytes")
        << up << "en_US" << QStringList{longStart + "b", longStart + "a", longStart}
        << QStringList{longStart, longStart + "a", longStart + "b"} << QList<int>{2, 1, 0};
    // Leading zeros and composed or decomposed accents make no difference to the collator.
    const QStringList equalPairs{"e\u0301", "\u00E9", "row01", "row1"};
    QTest::newRow("A-Z: rows equal to the collator keep their order")
        << up << "en_US" << equalPairs << QStringList{} << kUnchanged;
    QTest::newRow("Z-A: rows equal to the collator keep their order")
        << down << "en_US" << equalPairs << QStringList{"row01", "row1", "e\u0301", "\u00E9"}
        << QList<int>{2, 3, 0, 1};
    // Too many for a sort of small runs to keep them in order by chance.
    QList<int> keys(300);
    for (int i = 0; i < keys.size(); ++i) {
        keys[i] = i * 7 % 3;
    }
    for (const auto order : {up, down}) {
        QList<int> newOrder(keys.size());  // old rows in their new order
        std::iota(newOrder.begin(), newOrder.end(), 0);
        std::stable_sort(newOrder.begin(), newOrder.end(), [&](int a, int b) {
            return order == up ? keys[a] < keys[b] : keys[a] > keys[b];
        });
        QList<int> map(keys.size());
        for (int at = 0; at < newOrder.size(); ++at) {
            map[newOrder[at]] = at;
        }
        QList<int> sortedKeys = keys;
        std::stable_sort(sortedKeys.begin(), sortedKeys.end());
        if (order == down) {
            std::reverse(sortedKeys.begin(), sortedKeys.end());
        }
        QTest::addRow("%s: many equal rows keep their order", order == up ? "A-Z" : "Z-A")
            << order << "en_US" << numbered("key %1", keys) << numbered("key %1", sortedKeys)
            << map;
    }
    // Groups of rows alike in their first key bytes: sorted at once when small, by later key
    // bytes when big.
    const QString alikeStart = QStringLiteral("a long common start %1");
    const QString longerAlikeStart =
        QStringLiteral("a much longer start that all these rows share %1");
    for (const auto& [size, pattern] : {std::pair(100, alikeStart), std::pair(600, alikeStart),
                                        std::pair(600, longerAlikeStart)}) {
        for (const auto order : {up, down}) {
            QList<int> numbers(size);
            QList<int> map(size);
            for (int i = 0; i < size; ++i) {
                numbers[i] = i * 37 % size;
                map[i] = order == up ? numbers[i] : size - 1 - numbers[i];
            }
            QList<int> sorted(size);
            std::iota(sorted.begin(), sorted.end(), 0);
            if (order == down) {
                std::reverse(sorted.begin(), sorted.end());
            }
            QTest::addRow("%s: %d rows alike in their first %d characters",
                          order == up ? "A-Z" : "Z-A", size, int(pattern.size()) - 2)
                << order << "en_US" << numbered(pattern, numbers) << numbered(pattern, sorted)
                << map;
        }
    }
    // A group too big to sort at once whose rows are all the same, among others.
    for (const auto order : {up, down}) {
        constexpr int kHalf = 500;
        const QString same = QStringLiteral("one and the same long row");
        QStringList rows;
        QList<int> map;
        for (int i = 0; i < 2 * kHalf; ++i) {
            rows << (i % 2 == 1 ? QStringLiteral("0") : same);
            map << (i % 2 == (order == up ? 1 : 0) ? i / 2 : kHalf + i / 2);
        }
        QStringList sorted = QStringList(kHalf, QStringLiteral("0")) + QStringList(kHalf, same);
        if (order == down) {
            std::reverse(sorted.begin(), sorted.end());
        }
        QTest::addRow("%s: a big group of equal long rows", order == up ? "A-Z" : "Z-A")
            << order << "en_US" << rows << sorted << map;
    }
    QTest::newRow("A-Z: already in order")
        << up << "en_US" << QStringList{"a", "a", "b10", "c"} << QStringList{} << kUnchanged;
    // Enough rows that the two threads share the sort's runs, and runs whose first key bytes
    // are all alike.
    QList<int> shuffled(100000);
    std::iota(shuffled.begin(), shuffled.end(), 0);
    std::reverse(shuffled.begin(), shuffled.begin() + 50000);
    std::rotate(shuffled.begin(), shuffled.begin() + 3333, shuffled.end());
    QList<int> ascending = shuffled;
    std::sort(ascending.begin(), ascending.end());
    QTest::newRow("A-Z: a hundred thousand rows")
        << up << "en_US" << numbered("item %1", shuffled) << numbered("item %1", ascending)
        << shuffled;  // item n goes to row n
}

void RowTidyingTest::actions() {
    QFETCH(TidyAction, action);
    QFETCH(QString, locale);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, map);

    RowStore store;
    fill(store, rows);
    // Ignore Case again with pieces of two and three units, as rows of hundreds of millions
    // of characters are folded.
    const qsizetype wholePieces = FaultInjection::caseFoldingPieceUnits;
    const auto restore = qScopeGuard([&] { FaultInjection::caseFoldingPieceUnits = wholePieces; });
    for (const qsizetype pieceUnits : {wholePieces, qsizetype(2), qsizetype(3)}) {
        if (pieceUnits != wholePieces && action != TidyAction::RemoveDuplicateRowsIgnoringCase) {
            break;
        }
        FaultInjection::caseFoldingPieceUnits = pieceUnits;
        JobProgress progress;
        const TidyResult result = TidyRows(store, action, progress, QLocale(locale));

        QCOMPARE(textsOf(store), rows);
        QCOMPARE(progress.done(), progress.total());
        if (map == kUnchanged) {
            QCOMPARE(result.outcome, TidyOutcome::Unchanged);
            QVERIFY(!result.rows);
            continue;
        }
        QCOMPARE(result.outcome, TidyOutcome::Changed);
        QCOMPARE(textsOf(*result.rows), expected);
        QCOMPARE(result.newRows.keepsEveryRowInPlace(), map.isEmpty());
        if (!map.isEmpty()) {
            QCOMPARE(mapOf(result, rows.size()), map);
        }
    }
}

// Trimming copies no text: the new rows are narrower spans of the old rows' source.
void RowTidyingTest::trimmedRowsShareTheirSource() {
    RowStore store;
    fill(store, {" a", "b", "c "});
    JobProgress progress;
    const TidyResult result = TrimSpaces(store, progress);
    QCOMPARE(result.outcome, TidyOutcome::Changed);
    for (RowIndex row{0}; row < RowIndex(store.size()); ++row) {
        TextSpan before;
        TextSpan after;
        QCOMPARE(result.rows->source(row, after).constData(),
                 store.source(row, before).constData());
    }
}

void RowTidyingTest::duplicatesOfOneHashAreToldByText_data() {
    QTest::addColumn<TidyAction>("action");
    QTest::newRow("exact") << TidyAction::RemoveDuplicateRows;
    QTest::newRow("ignore case") << TidyAction::RemoveDuplicateRowsIgnoringCase;
}

// Every row in one partition with one tag: only the texts can tell the rows apart, and more
// rows differ from the first of the tag than are read ahead together.
void RowTidyingTest::duplicatesOfOneHashAreToldByText() {
    QFETCH(TidyAction, action);
    const bool folded = action == TidyAction::RemoveDuplicateRowsIgnoringCase;
    QStringList rows;
    QStringList expected;
    for (int i = 0; i < 60; ++i) {
        rows << (i % 2 ? "R" : "r") + QString::number(i % 7);
        const QString key = folded ? rows.last().toLower() : rows.last();
        if (std::none_of(expected.begin(), expected.end(), [&](const QString& kept) {
                return (folded ? kept.toLower() : kept) == key;
            })) {
            expected << rows.last();
        }
    }
    RowStore store;
    fill(store, rows);
    tidy::testing::everyRowHashesAlike = true;
    JobProgress progress;
    const TidyResult result = TidyRows(store, action, progress);
    tidy::testing::everyRowHashesAlike = false;
    QCOMPARE(result.outcome, TidyOutcome::Changed);
    QCOMPARE(textsOf(*result.rows), expected);
}

void RowTidyingTest::stopRequestMakesNothing_data() {
    QTest::addColumn<TidyAction>("action");
    QTest::newRow("trim") << TidyAction::TrimSpaces;
    QTest::newRow("empty rows") << TidyAction::RemoveEmptyRows;
    QTest::newRow("duplicates") << TidyAction::RemoveDuplicateRows;
    QTest::newRow("duplicates ignoring case") << TidyAction::RemoveDuplicateRowsIgnoringCase;
    QTest::newRow("A-Z") << TidyAction::SortAToZ;
    QTest::newRow("Z-A") << TidyAction::SortZToA;
}

void RowTidyingTest::stopRequestMakesNothing() {
    QFETCH(TidyAction, action);
    // Every action has work here: spaces, empty rows, duplicates, rows out of order.
    RowStore store;
    fill(store, numbered(" %1", {3, 0, 2, 0, 0, 1}) + QStringList{"", "", "a"});
    JobProgress progress;
    progress.requestStop();
    const TidyResult result = TidyRows(store, action, progress);
    QCOMPARE(result.outcome, TidyOutcome::Stopped);
    QVERIFY(!result.rows);
    QCOMPARE(store.size(), 9);
}

QTEST_APPLESS_MAIN(RowTidyingTest)
#include "test_row_tidying.moc"
