#include "core/background_job.h"
#include "core/one_line_join.h"
#include "core/row_store.h"

#include <QTest>

// The joined text is allocated at its computed length and written through a pointer: a length
// off by one quote or separator writes past the text or leaves garbage at its end.
class OneLineJoinTest : public QObject {
    Q_OBJECT
  private slots:
    void joinedTextMatchesItsLength_data();
    void joinedTextMatchesItsLength();
};

void OneLineJoinTest::joinedTextMatchesItsLength_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QChar>("quote");
    QTest::addColumn<QString>("joined");
    const QChar none;
    const QChar single(u'\'');
    const QChar dbl(u'"');
    QTest::newRow("empty list") << QStringList{} << ", " << single << "";
    QTest::newRow("one row") << QStringList{"a"} << ", " << none << "a";
    QTest::newRow("tab") << QStringList{"a", "b", "c"} << "\t" << none << "a\tb\tc";
    QTest::newRow("line break") << QStringList{"a", "b"} << "\n" << none << "a\nb";
    QTest::newRow("empty rows") << QStringList{"", "x", ""} << "," << none << ",x,";
    QTest::newRow("empty rows quoted") << QStringList{"", ""} << "; " << dbl << "\"\"; \"\"";
    QTest::newRow("single quotes doubled")
        << QStringList{"O'Brien", "''"} << ", " << single << "'O''Brien', ''''''";
    QTest::newRow("double quotes doubled")
        << QStringList{"say \"hi\"", "it's"} << "," << dbl << "\"say \"\"hi\"\"\",\"it's\"";
    QTest::newRow("the other quote stays") << QStringList{"\"x\""} << "," << single << "'\"x\"'";
}

void OneLineJoinTest::joinedTextMatchesItsLength() {
    QFETCH(QStringList, rows);
    QFETCH(QString, separator);
    QFETCH(QChar, quote);
    QFETCH(QString, joined);
    RowStore store;
    for (const QString& row : rows) {
        store.append(row);
    }
    const OneLineFormat format{separator, quote};
    JobProgress progress;
    QCOMPARE(JoinAsOneLine(store, format, progress), joined);
    QCOMPARE(OneLineLength(store, format, QuotesInRows(store, quote)), joined.size());
    QCOMPARE(OneLinePreview(store, format, 5), joined.left(5));
}

QTEST_APPLESS_MAIN(OneLineJoinTest)
#include "test_one_line_join.moc"
