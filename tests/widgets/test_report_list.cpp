#include "core/failure.h"
#include "support/list_rows.h"
#include "support/row_comparisons.h"
#include "widgets/report_list/report_list.h"

#include <QAccessible>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class ReportListTest : public QObject {
    Q_OBJECT
  private slots:
    void spansOfSharedTextsReadBackInOrder();
    void removingRowsKeepsTheOthersAcrossSources();
    void shortTextsShareBlocksThatNeverMove();
    void missingRowsAreFailures();
    void rowsAreInTheViewAtOnce();
    void keysAndClicksMoveTheSelection_data();
    void keysAndClicksMoveTheSelection();
    void removalsMoveTheSelectionWithItsRow();
    void hugeRowIsShownClippedButKeptWhole();
    void isATableToAssistiveTechnology();
    void rowCountLeadsTheDescription();
    void focusedRowIsFramedBeforeAnyKey();
    void deleteKeyIsReportedAndNotConsumed();
};

namespace {
constexpr int kListRows = 1000;
constexpr int kPage = 10;  // rows the list shows at once

QStringList rowsOf(const ReportList& list) {
    return RowsOf(list);
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
    list.remove(RowNumber(2));  // inside the first source
    QCOMPARE(rowsOf(list), (QStringList{"a", "c", "d", "e"}));
    list.remove(RowNumber(3));  // a whole one-row source goes
    QCOMPARE(rowsOf(list), (QStringList{"a", "c", "e"}));
    list.remove(RowNumber(1));
    list.remove(RowNumber(1));
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
    const QChar* firstData = list.textSource(RowNumber(2), first).constData();
    QCOMPARE(list.textSource(RowNumber(3), second).constData(), firstData);
    TextSpan longSpan{};
    QCOMPARE(list.textSource(RowNumber(1501), longSpan).constData(), longRow.constData());

    // A view straight into the list's own text (no share taken, as a split of a row reads
    // it) stays good while rows are added and removed, however many blocks that takes. The
    // last row's block is the one the next rows go to.
    TextSpan span{};
    const qsizetype last = list.count();
    const QStringView view =
        QStringView(list.textSource(RowNumber(last), span)).mid(span.offset, span.length);
    for (int i = 0; i < 20'000; ++i) {
        list.append(QStringLiteral("more"));
        expected << QStringLiteral("more");
    }
    list.remove(RowNumber(1));
    expected.removeFirst();
    QCOMPARE(view, expected[last - 2]);
    QCOMPARE(list.textView(RowNumber(last - 1)).data(),
             view.data());  // the row's text did not move
    QCOMPARE(rowsOf(list), expected);
    QCOMPARE(list.rows().totalLength(), expected.join(QString()).size());
}

void ReportListTest::missingRowsAreFailures() {
    ReportList list;
    list.append("only");
    QVERIFY_THROWS_EXCEPTION(Failure, list.text(RowNumber(0)));
    QVERIFY_THROWS_EXCEPTION(Failure, list.text(RowNumber(2)));
    QVERIFY_THROWS_EXCEPTION(Failure, list.remove(RowNumber(2)));
    QVERIFY_THROWS_EXCEPTION(Failure, list.setColumnWidthTwips(1, 7000));  // no column yet
}

void ReportListTest::rowsAreInTheViewAtOnce() {
    ReportList list;
    list.addColumn("Output");
    list.resize(300, 200);
    const QString source = QStringLiteral("abc");
    constexpr qsizetype kRows = 3'000'000;
    for (qsizetype i = 0; i < kRows; ++i) {
        list.appendSpan(source, {i % 3, 1});
    }
    // No event has run: the rows are there to find, select and scroll to all the same.
    QCOMPARE(list.rowAt(list.rowRect(RowNumber(2)).center()), RowNumber(2));
    list.selectRow(RowNumber(kRows));
    QCOMPARE(list.rowAt(list.rowRect(RowNumber(kRows)).center()), RowNumber(kRows));
    QCOMPARE(list.rowAt(list.rowRect(RowNumber(kRows)).center() +
                        QPoint(0, list.rowRect(RowNumber(1)).height())),
             std::nullopt);
    QCOMPARE(list.verticalScrollBar()->maximum(), list.verticalScrollBar()->value());
}

void ReportListTest::keysAndClicksMoveTheSelection_data() {
    QTest::addColumn<int>("from");  // 0: no row selected yet
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("down from none") << 0 << int(Qt::Key_Down) << 1;
    QTest::newRow("down") << 5 << int(Qt::Key_Down) << 6;
    QTest::newRow("up at the top") << 1 << int(Qt::Key_Up) << 1;
    QTest::newRow("page down") << 5 << int(Qt::Key_PageDown) << 5 + kPage;
    QTest::newRow("page up near the top") << 5 << int(Qt::Key_PageUp) << 1;
    QTest::newRow("end") << 5 << int(Qt::Key_End) << kListRows;
    QTest::newRow("down at the end") << kListRows << int(Qt::Key_Down) << kListRows;
    QTest::newRow("page down near the end") << kListRows - 2 << int(Qt::Key_PageDown) << kListRows;
    QTest::newRow("home") << kListRows << int(Qt::Key_Home) << 1;
}

void ReportListTest::keysAndClicksMoveTheSelection() {
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, expected);
    ReportList list;
    list.addColumn("Output");
    for (int i = 1; i <= kListRows; ++i) {
        list.append(QString::number(i));
    }
    list.resize(
        300, list.header()->sizeHint().height() + kPage * list.rowRect(RowNumber(1)).height() + 4);
    if (from > 0) {
        list.selectRow(RowNumber(from));
    }
    QTest::keyClick(&list, Qt::Key(key));
    QCOMPARE(list.selectedRow(), RowNumber(expected));
    // The selected row is in view, and a click on the row above it selects that one.
    const QRect selected = list.rowRect(RowNumber(expected));
    QVERIFY(list.viewport()->rect().contains(selected.center()));
    if (expected > 1) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          selected.center() - QPoint(0, selected.height()));
        QCOMPARE(list.selectedRow(), RowNumber(expected - 1));
    }
}

void ReportListTest::removalsMoveTheSelectionWithItsRow() {
    ReportList list;
    list.addColumn("Output");
    for (int i = 1; i <= 5; ++i) {
        list.append(QString::number(i));
    }
    list.selectRow(RowNumber(3));
    list.remove(RowNumber(1));
    QCOMPARE(list.selectedRow(), RowNumber(2));  // "3" moved up
    list.remove(RowNumber(2));                   // the selected row itself
    QCOMPARE(list.selectedRow(), std::nullopt);
    QTest::keyClick(&list, Qt::Key_Down);  // from where the removed row stood
    QCOMPARE(list.text(list.selectedRow().value()), QStringLiteral("5"));
    list.clear();
    QCOMPARE(list.selectedRow(), std::nullopt);
}

void ReportListTest::hugeRowIsShownClippedButKeptWhole() {
    ReportList list;
    list.addColumn("Output");
    const QString huge(1'000'000, QLatin1Char('x'));
    list.append(huge);
    QVERIFY(list.shownText(RowNumber(1)).size() < 10'000);
    QCOMPARE(list.text(RowNumber(1)), huge);
}

void ReportListTest::isATableToAssistiveTechnology() {
    ReportList list;
    list.addColumn("Output");
    for (const char* row : {"a", "b", "c"}) {
        list.append(QString::fromLatin1(row));
    }
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);
    QVERIFY(table != nullptr && table->tableInterface() != nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Output"));
    QCOMPARE(cells->rowCount(), 3);
    QCOMPARE(table->child(0)->role(), QAccessible::ColumnHeader);
    QCOMPARE(table->child(0)->text(QAccessible::Name), QStringLiteral("Output"));
    QCOMPARE(cells->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("b"));
    QCOMPARE(table->indexOfChild(cells->cellAt(1, 0)), 2);

    QVERIFY(cells->selectRow(2));
    QCOMPARE(list.selectedRow(), RowNumber(3));
    QCOMPARE(cells->selectedRows(), QList<int>{2});
    QVERIFY(cells->cellAt(2, 0)->tableCellInterface()->isSelected());
    // Cells read the list as it is now, before and after a removal.
    list.remove(RowNumber(1));
    QCOMPARE(cells->rowCount(), 2);
    QCOMPARE(cells->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("b"));
    QCOMPARE(cells->selectedRows(), QList<int>{1});
    QVERIFY(cells->cellAt(2, 0) == nullptr);
}

void ReportListTest::rowCountLeadsTheDescription() {
    const QLocale desktop;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ReportList list;
    list.setToolTip("Tip.");
    list.showRowCount();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);
    const auto description = [&] { return table->text(QAccessible::Description); };
    QCOMPARE(description(), QStringLiteral("Tip."));  // no column yet, nothing to count
    list.addColumn("Output");
    QCOMPARE(description(), QStringLiteral("No rows. Tip."));
    list.append("a");
    QCOMPARE(description(), QStringLiteral("1 row. Tip."));
    for (int n = 1; n < 1083; ++n) {
        list.append("b");
    }
    QCOMPARE(description(), QStringLiteral("1,083 rows. Tip."));
    list.replaceRows(RowStore(), std::nullopt);
    list.showActionSummary("Sorted");
    QCOMPARE(description(), QStringLiteral("Sorted. Tip."));
    list.append("a");  // a split or a paste: the summary must not stay above the new rows
    QCOMPARE(description(), QStringLiteral("1 row. Tip."));
    QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Output"));
    QLocale::setDefault(desktop);
}

void ReportListTest::focusedRowIsFramedBeforeAnyKey() {
    ReportList list;
    list.addColumn("Output");
    list.append("a");
    list.show();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    list.clearFocus();
    const QImage unfocused = list.viewport()->grab().toImage();
    list.setFocus(Qt::MouseFocusReason);
    QVERIFY(list.viewport()->grab().toImage() != unfocused);
}

void ReportListTest::deleteKeyIsReportedAndNotConsumed() {
    ReportList list;
    list.addColumn("Output");
    list.append("a");
    list.append("b");
    list.selectRow(RowNumber(1));
    QSignalSpy keys(&list, &ReportList::keyPressed);
    QTest::keyClick(&list, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&list, Qt::Key_Down);
    // The Shift key itself comes first, as a key of its own.
    QCOMPARE(keys.size(), 3);
    QCOMPARE(keys[1][0].toInt(), int(Qt::Key_Delete));
    QCOMPARE(keys[1][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    QCOMPARE(keys[2][0].toInt(), int(Qt::Key_Down));
    // The list still moved its selection with the arrow key.
    QCOMPARE(list.selectedRow(), RowNumber(2));
}

QTEST_MAIN(ReportListTest)
#include "test_report_list.moc"
