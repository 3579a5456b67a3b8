// "Save Results As Excel File" through a double of the spreadsheet automation: which calls reach
// the spreadsheet, the two boxes when it is missing, the hourglass, and one report per failure.
#include "batch_window/workbook_export_handler.h"
#include "output/workbook_export.h"
#include "platform/pointer_shapes.h"
#include "shell/handler_guard.h"
#include "shell/mouse_pointer.h"
#include "support/fake_platform.h"
#include "support/table_list.h"

#include <QTest>

namespace {

using Call = FakeSpreadsheetAutomation::Call;

QString describe(const Call& call) {
    if (call.what == u"assign" || call.what == u"value") {
        return QStringLiteral("%1 %2,%3 %4")
            .arg(call.what)
            .arg(call.row)
            .arg(call.column)
            .arg(call.text);
    }
    return call.what;
}

QStringList describeAll(const std::vector<Call>& calls) {
    QStringList all;
    for (const Call& call : calls) {
        all << describe(call);
    }
    return all;
}

TableList singleColumn(const QStringList& rows) {
    TableList list(QStringLiteral(" Output"));
    for (const QString& row : rows) {
        list.addRow(row);
    }
    return list;
}

QString reportAt(int step, const QString& description = QStringLiteral("Automation error")) {
    return HandlerErrorReport::text(description, QStringLiteral("Form2.PushButton13_Click"), step);
}

struct Export {
    FakePlatform fake;
    WindowMousePointer pointer{nullptr, fake.pointers};

    Export() { fake.messages.setApplicationTitle(QStringLiteral("Quorvane")); }
    void run(const ReadableList& list) { SaveListAsWorkbook(fake.platform, list, pointer); }
    QList<PointerShape> pointerShapes() const {
        QList<PointerShape> shapes;
        for (const auto& applied : fake.pointers.applied) {
            shapes << applied.shape;
        }
        return shapes;
    }
};

}  // namespace

class WorkbookExportTest : public QObject {
    Q_OBJECT
  private slots:
    void writesHeaderAndRows_data();
    void writesHeaderAndRows();
    void missingSpreadsheetShowsTwoBoxesInOrder_data();
    void missingSpreadsheetShowsTwoBoxesInOrder();
    void emptyListDoesNothingVisible();
    void hourglassCoversEveryWrite();
    void failingCellWriteCostsOneReport();
    void failedStartCostsOneReport();
    void rowsRemovedDuringYieldAreReported();
    void endingProgramStopsTheExport();
    void pressingTwiceGivesTwoWorkbooks();
};

void WorkbookExportTest::writesHeaderAndRows_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("three rows with an empty one")
        << QStringList{"one", "", "three"}
        << QStringList{"assign 1,1  Output", "value 2,1 one", "value 4,1 three"};
    QTest::newRow("empty first row: no header, rows still from 2")
        << QStringList{"", "two"} << QStringList{"value 3,1 two"};
    QTest::newRow("row text with = reaches the cell unchanged")
        << QStringList{"=1+2", "0012"}
        << QStringList{"assign 1,1  Output", "value 2,1 =1+2", "value 3,1 0012"};
}

void WorkbookExportTest::writesHeaderAndRows() {
    QFETCH(QStringList, rows);
    QFETCH(QStringList, expected);

    Export e;
    e.run(singleColumn(rows));

    const QStringList all = describeAll(e.fake.spreadsheets.calls);
    QCOMPARE(all.mid(0, 3), (QStringList{"create", "create", "addWorkbook"}));
    QCOMPARE(all.mid(3, all.size() - 5), expected);
    QCOMPARE(all.mid(all.size() - 2), (QStringList{"autofit", "visible"}));
    QCOMPARE(e.fake.messages.texts(), QStringList());
    QCOMPARE(e.pointerShapes(),
             (QList<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
}

void WorkbookExportTest::missingSpreadsheetShowsTwoBoxesInOrder_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("with results") << QStringList{"one"};
    QTest::newRow("empty list") << QStringList{};
}

void WorkbookExportTest::missingSpreadsheetShowsTwoBoxesInOrder() {
    QFETCH(QStringList, rows);
    Export e;
    e.fake.spreadsheets.installed = false;
    e.run(singleColumn(rows));

    QCOMPARE(e.fake.messages.texts(),
             (QStringList{WorkbookExportMessages::kNotInstalledForSoftware,
                          WorkbookExportMessages::kNotInstalledForFeature}));
    for (const ShownMessage& box : e.fake.messages.shown) {
        QCOMPARE(box.title, QStringLiteral("Quorvane"));
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.icon, MessageIcon::None);
    }
    QCOMPARE(describeAll(e.fake.spreadsheets.calls), QStringList{"create"});
    QVERIFY(e.pointerShapes().isEmpty());
}

void WorkbookExportTest::emptyListDoesNothingVisible() {
    Export e;
    e.run(singleColumn({}));
    QCOMPARE(describeAll(e.fake.spreadsheets.calls), QStringList{"create"});
    QVERIFY(e.fake.messages.shown.empty());
    QVERIFY(e.pointerShapes().isEmpty());
}

void WorkbookExportTest::hourglassCoversEveryWrite() {
    Export e;
    QList<PointerShape> shapeAtCall;
    e.fake.spreadsheets.fails = [&](const Call&) {
        shapeAtCall << e.pointer.value();
        return false;
    };
    e.run(singleColumn({"one", "two"}));
    // The installation test runs before the hourglass; everything after it under the hourglass.
    QCOMPARE(shapeAtCall.first(), PointerShape::Default);
    for (int i = 1; i < shapeAtCall.size(); ++i) {
        QCOMPARE(shapeAtCall[i], PointerShape::Hourglass);
    }
    QCOMPARE(e.pointer.value(), PointerShape::Default);
}

void WorkbookExportTest::failingCellWriteCostsOneReport() {
    Export e;
    e.fake.spreadsheets.fails = [](const Call& call) {
        return call.what == u"value" && call.row == 3;
    };
    e.run(singleColumn({"one", "two", "three"}));

    QCOMPARE(e.fake.messages.texts(), QStringList{reportAt(156)});
    QCOMPARE(e.fake.messages.shown[0].icon, MessageIcon::Warning);
    const QStringList all = describeAll(e.fake.spreadsheets.calls);
    QVERIFY(all.contains("value 4,1 three"));
    QCOMPARE(all.mid(all.size() - 2), (QStringList{"autofit", "visible"}));
    QCOMPARE(e.pointer.value(), PointerShape::Default);
}

void WorkbookExportTest::failedStartCostsOneReport() {
    Export e;
    int creates = 0;
    e.fake.spreadsheets.fails = [&](const Call& call) {
        return call.what == u"create" && ++creates == 2;
    };
    e.run(singleColumn({"one", "", "three"}));

    // One report says why; no more for each cell that could not be written.
    QCOMPARE(e.fake.messages.texts(),
             (QStringList{reportAt(112, QStringLiteral("ActiveX component can't create object"))}));
    QCOMPARE(e.pointerShapes(),
             (QList<PointerShape>{PointerShape::Hourglass, PointerShape::Default}));
}

void WorkbookExportTest::rowsRemovedDuringYieldAreReported() {
    Export e;
    TableList list = singleColumn({"one", "two", "three"});
    // Yields: 1 header column, then per row one before the row and one before its column.
    e.fake.pump.at[3] = [&] { list.removeRow(RowNumber(3)); };
    e.run(list);

    // One report for the rows that are gone, however many they are; no box per missing row.
    QCOMPARE(e.fake.messages.texts(),
             (QStringList{reportAt(154, QStringLiteral("Index out of bounds"))}));
    const QStringList all = describeAll(e.fake.spreadsheets.calls);
    QVERIFY(all.contains("value 3,1 two"));
    QVERIFY(!all.contains("value 4,1 three"));
    QCOMPARE(all.last(), QStringLiteral("visible"));
}

void WorkbookExportTest::endingProgramStopsTheExport() {
    Export e;
    e.fake.pump.at[4] = [&] { e.fake.pump.endProgram(); };
    e.run(singleColumn({"one", "two", "three"}));
    const QStringList all = describeAll(e.fake.spreadsheets.calls);
    QVERIFY(!all.contains("visible"));
    QVERIFY(e.fake.messages.shown.empty());
}

void WorkbookExportTest::pressingTwiceGivesTwoWorkbooks() {
    Export e;
    const TableList list = singleColumn({"one"});
    e.run(list);
    e.run(list);
    QCOMPARE(describeAll(e.fake.spreadsheets.calls),
             (QStringList{"create", "create", "addWorkbook", "assign 1,1  Output", "value 2,1 one",
                          "autofit", "visible", "create", "create", "addWorkbook",
                          "assign 1,1  Output", "value 2,1 one", "autofit", "visible"}));
}

QTEST_MAIN(WorkbookExportTest)
#include "test_workbook_export_handler.moc"
