// The .xlsx files the streamed workbook writes, read back by openpyxl: literal text cells,
// characters XML cannot carry, `_xHHHH_` texts, column widths, the German locale and rows
// beyond one sheet.
#include "core/failure.h"
#include "format/streamed_xlsx_workbook.h"
#include "support/xlsx_read_back.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

QString path(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("book.xlsx"));
}

ReadBackSheet writeAndReadOne(const QString& text) {
    QTemporaryDir dir;
    {
        StreamedXlsxWorkbook book(path(dir), dir.path());
        book.writeText(1, 1, QStringLiteral(" Output"));
        book.writeText(2, 1, text);
        book.fitColumns();
        book.finish();
    }
    const ReadBackWorkbook read = ReadXlsxBack(path(dir));
    if (!read.ok || read.sheets.size() != 1) {
        qWarning() << "unreadable workbook:" << read.error;
        return {};
    }
    return read.sheets[0];
}

}  // namespace

class WorkbookFileTest : public QObject {
    Q_OBJECT
  private slots:
    void cellShowsExactlyTheText_data();
    void cellShowsExactlyTheText();
    void unsafeCharactersBecomeReplacementCharacter_data();
    void unsafeCharactersBecomeReplacementCharacter();
    void overlongTextFailsForThatCellOnly();
    void columnsFittedToWidestText();
    void germanLocaleStillWritesAValidFile();
    void rowsBeyondASheetContinueOnNewSheetsWithTheHeader();
    void rowsMustComeInOrder();
    void unfinishedWorkbookLeavesNoFile();
};

void WorkbookFileTest::cellShowsExactlyTheText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("formula stays text") << QStringLiteral("=1+2");
    QTest::newRow("command formula stays text") << QStringLiteral("=cmd|' /C calc'!A0");
    QTest::newRow("leading zeros") << QStringLiteral("0012");
    QTest::newRow("long number") << QStringLiteral("12345678901234567890");
    QTest::newRow("decimal") << QStringLiteral("1.5");
    QTest::newRow("leading and trailing spaces") << QStringLiteral("  a b  ");
    QTest::newRow("escape look-alike") << QStringLiteral("_x0041_ and _x00e9_");
    QTest::newRow("escape of the escape") << QStringLiteral("_x005F_x0041_");
    QTest::newRow("not an escape") << QStringLiteral("_x00G1_ _x12_ x0041_");
    QTest::newRow("markup characters") << QStringLiteral("<a href=\"x\">&amp;</a>");
    QTest::newRow("tab, line feed, carriage return") << QStringLiteral("a\tb\nc\rd");
    QTest::newRow("accents, CJK and emoji") << QStringLiteral("äöü ß 中文 \U0001F600");
    QTest::newRow("control characters") << QStringLiteral("ctrl\x01\x07\x1b\x0b\x1f end");
    QTest::newRow("NUL") << QString(QStringLiteral("nul") + QChar(0) + QStringLiteral("after"));
    QTest::newRow("control beside an escape look-alike") << QStringLiteral("\x01_x0041_\x02");
    QTest::newRow("escape look-alike closed by a control") << QStringLiteral("_x0041\x01");
    QTest::newRow("look-alikes to the limit, longer escaped")
        << QStringLiteral("_x0041_").repeated(4681);
    QTest::newRow("look-alike closed by a carriage return") << QStringLiteral("_x0041\r");
}

void WorkbookFileTest::cellShowsExactlyTheText() {
    QFETCH(QString, text);
    const ReadBackSheet sheet = writeAndReadOne(text);
    QCOMPARE(sheet.at(1, 1), QStringLiteral(" Output"));
    QCOMPARE(sheet.at(2, 1), text);
    QCOMPARE(sheet.types.value({2, 1}), QStringLiteral("s"));
}

void WorkbookFileTest::unsafeCharactersBecomeReplacementCharacter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString r(QChar(0xFFFD));
    QTest::newRow("U+FFFE and U+FFFF") << QString(QChar(0xFFFE)) + QChar(0xFFFF) << r + r;
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + "x" << r + "x";
    QTest::newRow("lone low surrogate at end") << "x" + QString(QChar(0xDC00)) << "x" + r;
}

void WorkbookFileTest::unsafeCharactersBecomeReplacementCharacter() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(writeAndReadOne(text).at(2, 1), shown);
}

void WorkbookFileTest::overlongTextFailsForThatCellOnly() {
    QTemporaryDir dir;
    StreamedXlsxWorkbook book(path(dir), dir.path());
    book.writeText(2, 1, QString(32767, QLatin1Char('x')));
    QVERIFY_THROWS_EXCEPTION(Failure, book.writeText(3, 1, QString(32768, QLatin1Char('y'))));
    book.writeText(4, 1, QStringLiteral("after"));
    book.finish();
    const ReadBackWorkbook read = ReadXlsxBack(path(dir));
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.sheets[0].at(2, 1).size(), 32767);
    QCOMPARE(read.sheets[0].at(3, 1), QString());
    QCOMPARE(read.sheets[0].at(4, 1), QStringLiteral("after"));
}

void WorkbookFileTest::columnsFittedToWidestText() {
    QTemporaryDir dir;
    {
        StreamedXlsxWorkbook book(path(dir), dir.path());
        book.writeText(1, 1, QStringLiteral("0000000000"));  // ten digits of 7.43 px
        book.writeText(1, 3, QStringLiteral("i"));
        book.writeText(2, 3, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
        book.fitColumns();
        book.writeText(3, 1, QString(200, QLatin1Char('W')));  // after fitting: no effect
        book.finish();
    }
    const ReadBackWorkbook read = ReadXlsxBack(path(dir));
    QVERIFY2(read.ok, qPrintable(read.error));
    const QMap<int, double> widths = read.sheets[0].widths;
    QCOMPARE(widths.keys(), (QList<int>{1, 3}));
    // 74.3 px of text and 7.9 px of margin as LibreOffice shows them, 7.84 px a unit: 10.5.
    QVERIFY2(qAbs(widths[1] - 10.5) < 0.15, qPrintable(QString::number(widths[1])));
    QVERIFY(widths[3] > 2 * widths[1]);
}

void WorkbookFileTest::germanLocaleStillWritesAValidFile() {
    QTemporaryDir locales;
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
                    {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                     QStringLiteral("UTF-8"), locales.filePath(QStringLiteral("de_DE.UTF-8"))});
    QVERIFY(localedef.waitForFinished(120000));
    QVERIFY2(localedef.exitCode() == 0, localedef.readAllStandardError().constData());
    const QByteArray savedLocPath = qgetenv("LOCPATH");
    qputenv("LOCPATH", QFile::encodeName(locales.path()));
    const QByteArray saved = std::setlocale(LC_ALL, nullptr);
    QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr);
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    const QByteArray underGerman = printed;

    QTemporaryDir dir;
    {
        StreamedXlsxWorkbook book(path(dir), dir.path());
        book.writeText(1, 1, QStringLiteral(" Output"));
        book.writeText(2, 1, QStringLiteral("ä 1,5"));
        book.fitColumns();
        book.finish();
    }
    std::snprintf(printed, sizeof printed, "%.1f", 1.5);
    const QByteArray afterwards = printed;
    std::setlocale(LC_ALL, saved.constData());
    qputenv("LOCPATH", savedLocPath);

    QCOMPARE(underGerman, QByteArray("1,5"));  // the locale was really in force
    QCOMPARE(afterwards, QByteArray("1,5"));   // and the writer left it so
    const ReadBackWorkbook read = ReadXlsxBack(path(dir));
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.sheets[0].at(2, 1), QStringLiteral("ä 1,5"));
    QVERIFY(read.sheets[0].widths.contains(1));
}

void WorkbookFileTest::rowsBeyondASheetContinueOnNewSheetsWithTheHeader() {
    QTemporaryDir dir;
    {
        StreamedXlsxWorkbook book(path(dir), dir.path(), 4);  // the header and 3 data rows
        book.writeText(1, 1, QStringLiteral(" Output"));
        book.writeText(1, 2, QStringLiteral("Second"));
        for (int row = 2; row <= 9; ++row) {
            book.writeText(row, 1, QStringLiteral("r%1").arg(row));
        }
        book.writeText(9, 2, QStringLiteral("last"));
        book.fitColumns();
        book.finish();
    }
    const ReadBackWorkbook read = ReadXlsxBack(path(dir));
    QVERIFY2(read.ok, qPrintable(read.error));
    QCOMPARE(read.sheets.size(), 3);
    const QList<QStringList> expected{{"r2", "r3", "r4"}, {"r5", "r6", "r7"}, {"r8", "r9"}};
    for (int s = 0; s < 3; ++s) {
        const ReadBackSheet& sheet = read.sheets[s];
        QCOMPARE(sheet.at(1, 1), QStringLiteral(" Output"));
        QCOMPARE(sheet.at(1, 2), QStringLiteral("Second"));
        QStringList column;
        for (int row = 2; row <= 4; ++row) {
            if (!sheet.at(row, 1).isEmpty()) {
                column << sheet.at(row, 1);
            }
        }
        QCOMPARE(column, expected[s]);
        QVERIFY(sheet.widths.contains(1));
    }
    QCOMPARE(read.sheets[2].at(3, 2), QStringLiteral("last"));
}

void WorkbookFileTest::rowsMustComeInOrder() {
    QTemporaryDir dir;
    StreamedXlsxWorkbook book(path(dir), dir.path());
    book.writeText(3, 1, QStringLiteral("later"));
    QVERIFY_THROWS_EXCEPTION(Failure, book.writeText(2, 1, QStringLiteral("earlier")));
    QVERIFY_THROWS_EXCEPTION(Failure, book.writeText(4, 16385, QStringLiteral("too far")));
    book.writeText(3, 2, QStringLiteral("same row"));
    book.finish();
    QVERIFY_THROWS_EXCEPTION(Failure, book.writeText(5, 1, QStringLiteral("handed over")));
    QCOMPARE(ReadXlsxBack(path(dir)).sheets.value(0).at(3, 2), QStringLiteral("same row"));
}

void WorkbookFileTest::unfinishedWorkbookLeavesNoFile() {
    QTemporaryDir dir;
    {
        StreamedXlsxWorkbook book(path(dir), dir.path());
        book.writeText(1, 1, QStringLiteral("never shown"));
    }
    QVERIFY(!QFileInfo::exists(path(dir)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

QTEST_GUILESS_MAIN(WorkbookFileTest)
#include "test_workbook_file.moc"
