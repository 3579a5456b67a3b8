#include "core/failure.h"
#include "widgets/report_list/report_list.h"

#include <QSignalSpy>
#include <QTest>

class ReportListTest : public QObject {
    Q_OBJECT
  private slots:
    void spansOfSharedTextsReadBackInOrder();
    void removingRowsKeepsTheOthersAcrossSources();
    void shortTextsShareBlocksThatNeverMove();
    void missingRowsAreFailures();
    void viewCatchesUpWithAppendedRows();
    void viewCatchesUpWithMillionsInBoundedSteps();
    void removingAndSelectingDoNotRushTheView();
    void hugeRowIsPaintedClippedButKeptWhole();
    void deleteKeyIsReportedAndNotConsumed();
};

namespace {
QStringList rowsOf(const ReportList& list) {
    QStringList rows;
    for (qsizetype r = 1; r <= list.count(); ++r) {
        rows << list.text(r);
    }
    return rows;
}
}  // namespace

void ReportListTest::spansOfSharedTextsReadBackInOrder() {
    ReportList list;
    list.addColumn("Output");
    const QString first = QStringLiteral("ab,cd");
    const QString second = QStringLiteral("xyz");
    list.appendSpan(first, {0, 2});
    list.appendSpan(first, {3, 2});
    list.append(QStringLiteral("single"));
    list.appendSpan(second, {1, 0});
    list.appendSpan(first, {2, 1});
    QCOMPARE(rowsOf(list), (QStringList{"ab", "cd", "single", "", ","}));
    QCOMPARE(list.columnCount(), 1);
    QCOMPARE(list.headerText(1), QStringLiteral("Output"));
    QCOMPARE(list.cellText(2, 1), QStringLiteral("cd"));
}

void ReportListTest::removingRowsKeepsTheOthersAcrossSources() {
    ReportList list;
    list.addColumn("Output");
    const QString line = QStringLiteral("a,b,c");
    for (qint64 at : {0, 2, 4}) {
        list.appendSpan(line, {at, 1});
    }
    list.append("d");
    list.append("e");
    list.remove(2);  // inside the first source
    QCOMPARE(rowsOf(list), (QStringList{"a", "c", "d", "e"}));
    list.remove(3);  // a whole one-row source goes
    QCOMPARE(rowsOf(list), (QStringList{"a", "c", "e"}));
    list.remove(1);
    list.remove(1);
    QCOMPARE(rowsOf(list), QStringList{"e"});
    list.append("f");
    QCOMPARE(rowsOf(list), (QStringList{"e", "f"}));
    list.clear();
    QCOMPARE(list.count(), 0);
    list.append("g");
    QCOMPARE(rowsOf(list), QStringList{"g"});
}

void ReportListTest::shortTextsShareBlocksThatNeverMove() {
    ReportList list;
    list.addColumn("Output");
    QStringList expected;
    for (int i = 0; i < 3000; ++i) {
        expected << QString::number(i).repeated(i % 7);  // empty rows among them
    }
    const QString longRow(5000, QLatin1Char('L'));
    expected.insert(1500, longRow);
    for (const QString& row : expected) {
        list.append(row);
    }

    // Short rows share one text; a long one keeps its own, uncopied.
    TextSpan first{};
    TextSpan second{};
    const QChar* firstData = list.textSource(2, first).constData();
    QCOMPARE(list.textSource(3, second).constData(), firstData);
    TextSpan longSpan{};
    QCOMPARE(list.textSource(1501, longSpan).constData(), longRow.constData());

    // A view straight into the list's own text (no share taken, as a split of a row reads
    // it) stays good while rows are added and removed, however many blocks that takes. The
    // last row's block is the one the next rows go to.
    TextSpan span{};
    const qsizetype last = list.count();
    const QStringView view = QStringView(list.textSource(last, span)).mid(span.offset, span.length);
    for (int i = 0; i < 20'000; ++i) {
        list.append(QStringLiteral("more"));
        expected << QStringLiteral("more");
    }
    list.remove(1);
    expected.removeFirst();
    QCOMPARE(view, expected[last - 2]);
    QCOMPARE(list.textView(last - 1).data(), view.data());  // the row's text did not move
    QCOMPARE(rowsOf(list), expected);
    QCOMPARE(list.totalTextLength(), expected.join(QString()).size());
}

void ReportListTest::missingRowsAreFailures() {
    ReportList list;
    list.append("only");
    QVERIFY_THROWS_EXCEPTION(Failure, list.text(0));
    QVERIFY_THROWS_EXCEPTION(Failure, list.text(2));
    QVERIFY_THROWS_EXCEPTION(Failure, list.remove(2));
    QVERIFY_THROWS_EXCEPTION(Failure, list.setColumnWidthTwips(1, 7000));  // no column yet
}

void ReportListTest::viewCatchesUpWithAppendedRows() {
    ReportList list;
    list.addColumn("Output");
    for (int i = 0; i < 1000; ++i) {
        list.append(QString::number(i));
    }
    QCOMPARE(list.count(), 1000);
    QTRY_COMPARE(list.model()->rowCount(), 1000);
    list.remove(10);
    QCOMPARE(list.model()->rowCount(), 999);
    QCOMPARE(list.model()->index(10, 0).data().toString(), QStringLiteral("11"));
}

void ReportListTest::viewCatchesUpWithMillionsInBoundedSteps() {
    ReportList list;
    list.addColumn("Output");
    const QString source = QStringLiteral("abc");
    constexpr int kRows = 2'500'000;
    for (int i = 0; i < kRows; ++i) {
        list.appendSpan(source, {i % 3, 1});
    }
    // No one frame tells the view about all of them, yet all arrive without being asked for.
    QList<int> steps;
    connect(list.model(), &QAbstractItemModel::rowsInserted, this,
            [&](const QModelIndex&, int first, int last) { steps << last - first + 1; });
    QTRY_COMPARE_WITH_TIMEOUT(list.model()->rowCount(), kRows, 10'000);
    QVERIFY2(steps.size() > 1, "all rows came in one step");
    QCOMPARE(list.model()->index(kRows - 1, 0).data().toString(), QStringLiteral("a"));

    // Rows appended after a clear are shown on a fresh schedule, not on one left over from
    // the long list, which would come late and then show everything in one step.
    list.append(QStringLiteral("x"));
    list.clear();
    list.append(QStringLiteral("after"));
    QTRY_COMPARE_WITH_TIMEOUT(list.model()->rowCount(), 1, 100);
    QCOMPARE(list.model()->index(0, 0).data().toString(), QStringLiteral("after"));
}

void ReportListTest::removingAndSelectingDoNotRushTheView() {
    ReportList list;
    list.addColumn("Output");
    for (int i = 1; i <= 10; ++i) {
        list.append(QString::number(i));
    }
    // Selecting a row tells the view about the rows up to it, no more.
    list.selectRow(3);
    QCOMPARE(list.model()->rowCount(), 3);
    QCOMPARE(list.selectedRow(), 3);
    // A row the view has and a row it has not been told about yet.
    list.remove(2);
    QCOMPARE(list.model()->rowCount(), 2);
    list.remove(6);  // "7"
    QCOMPARE(list.model()->rowCount(), 2);
    QCOMPARE(list.selectedRow(), 2);  // "3" moved up
    QTRY_COMPARE(list.model()->rowCount(), 8);
    QStringList shown;
    for (int r = 0; r < 8; ++r) {
        shown << list.model()->index(r, 0).data().toString();
    }
    QCOMPARE(shown, (QStringList{"1", "3", "4", "5", "6", "8", "9", "10"}));
    QCOMPARE(rowsOf(list), shown);
}

void ReportListTest::hugeRowIsPaintedClippedButKeptWhole() {
    ReportList list;
    list.addColumn("Output");
    const QString huge(1'000'000, QLatin1Char('x'));
    list.append(huge);
    list.showPendingRows();
    QVERIFY(list.model()->index(0, 0).data().toString().size() < 10'000);
    QCOMPARE(list.text(1), huge);
}

void ReportListTest::deleteKeyIsReportedAndNotConsumed() {
    ReportList list;
    list.addColumn("Output");
    list.append("a");
    list.append("b");
    list.show();
    QTRY_COMPARE(list.model()->rowCount(), 2);
    list.selectRow(1);
    QSignalSpy keys(&list, &ReportList::keyPressed);
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&list, Qt::Key_Down);
    // The Shift key itself comes first, as a key of its own.
    QCOMPARE(keys.size(), 3);
    QCOMPARE(keys[1][0].toInt(), int(Qt::Key_Delete));
    QCOMPARE(keys[1][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QCOMPARE(keys[2][0].toInt(), int(Qt::Key_Down));
    // The list still moved its selection with the arrow key.
    QCOMPARE(list.selectedRow(), 2);
}

QTEST_MAIN(ReportListTest)
#include "test_report_list.moc"
