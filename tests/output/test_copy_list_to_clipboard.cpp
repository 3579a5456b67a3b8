// The clipboard text CopyListToClipboard builds, its yields, and the clipboard's retry rule.
#include "core/failure.h"
#include "output/copy_list_to_clipboard.h"
#include "platform/clipboard_retry.h"
#include "shell/yielding_loop.h"
#include "support/fake_platform.h"
#include "support/table_list.h"

#include <QElapsedTimer>
#include <QTest>

namespace {
TableList makeList(const QStringList& rows) {
    TableList list;
    for (const QString& row : rows) {
        list.addRow(row);
    }
    return list;
}
}  // namespace

class TestCopyListToClipboard : public QObject {
    Q_OBJECT
  private slots:
    void clipboardText_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("alpha, empty, beta with trailing spaces")
            << QStringList{"alpha", "", "beta  "} << QStringLiteral("alpha\r\n\r\nbeta\r\n");
        QTest::newRow("a row of spaces is an empty line")
            << QStringList{"   ", "x"} << QStringLiteral("\r\nx\r\n");
        QTest::newRow("single row ends with CR LF")
            << QStringList{"only"} << QStringLiteral("only\r\n");
        QTest::newRow("inner and leading spaces and tabs stay")
            << QStringList{"  a b\t "} << QStringLiteral("  a b\t\r\n");
    }
    void clipboardText() {
        QFETCH(QStringList, rows);
        QFETCH(QString, text);
        FakePlatform fake;
        fake.clipboard.text = QStringLiteral("previous");
        const TableList list = makeList(rows);
        YieldingLoop loop(fake.pump);
        CopyListToClipboard(fake.platform, list, loop);
        QVERIFY(fake.clipboard.cleared);
        QVERIFY(fake.clipboard.text.has_value());
        QCOMPARE(*fake.clipboard.text, text);
        QCOMPARE(fake.clipboard.clearAttempts, 1);
        QCOMPARE(fake.clipboard.setAttempts, 1);
    }

    // A row that grew after it was measured is not cut.
    void cellGrownSinceWidthPass() {
        FakePlatform fake;
        TableList list = makeList({"ab", "abc"});
        // Measuring: one yield per row; the text pass starts with the 3rd.
        fake.pump.at[3] = [&] { list.setText(RowNumber(1), "abcdef"); };
        YieldingLoop loop(fake.pump);
        CopyListToClipboard(fake.platform, list, loop);
        QCOMPARE(*fake.clipboard.text, QStringLiteral("abcdef\r\nabc\r\n"));
    }

    void emptyListLeavesClipboardAlone() {
        FakePlatform fake;
        fake.clipboard.text = QStringLiteral("previous");
        const TableList list;
        YieldingLoop loop(fake.pump);
        CopyListToClipboard(fake.platform, list, loop);
        QCOMPARE(*fake.clipboard.text, QStringLiteral("previous"));
        QCOMPARE(fake.clipboard.clearAttempts + fake.clipboard.setAttempts, 0);
        QCOMPARE(fake.pump.calls, 0);
    }

    void vanishedRowFailsAndLeavesClipboard_data() {
        QTest::addColumn<int>("atYield");
        QTest::newRow("during the width pass") << 2;
        QTest::newRow("during the text pass") << 5;
    }
    void vanishedRowFailsAndLeavesClipboard() {
        QFETCH(int, atYield);
        FakePlatform fake;
        fake.clipboard.text = QStringLiteral("previous");
        TableList list = makeList({"a", "b", "c"});
        fake.pump.at[atYield] = [&] { list.removeRow(RowNumber(1)); };
        YieldingLoop loop(fake.pump);
        QVERIFY_THROWS_EXCEPTION(Failure, CopyListToClipboard(fake.platform, list, loop));
        QCOMPARE(*fake.clipboard.text, QStringLiteral("previous"));
        QCOMPARE(fake.clipboard.clearAttempts, 0);
    }

    void stopLeavesClipboard_data() {
        QTest::addColumn<bool>("programEnds");
        QTest::newRow("program ends") << true;
        QTest::newRow("window unloads") << false;
    }
    void stopLeavesClipboard() {
        QFETCH(bool, programEnds);
        FakePlatform fake;
        fake.clipboard.text = QStringLiteral("previous");
        const TableList list = makeList({"a", "b"});
        bool unloaded = false;
        fake.pump.at[4] = [&] { programEnds ? fake.pump.endProgram() : void(unloaded = true); };
        YieldingLoop loop(fake.pump, [&] { return unloaded; });
        CopyListToClipboard(fake.platform, list, loop);
        QCOMPARE(fake.pump.calls, 4);
        QCOMPARE(*fake.clipboard.text, QStringLiteral("previous"));
        QCOMPARE(fake.clipboard.clearAttempts, 0);
    }

    void yieldsOncePerCellAndRow() {
        FakePlatform fake;
        const TableList list = makeList({"a", "b", "c"});
        YieldingLoop loop(fake.pump);
        CopyListToClipboard(fake.platform, list, loop);
        // measuring 3 x 1, text pass 3 x (1 + 1)
        QCOMPARE(fake.pump.calls, 3 + 6);
    }

    void retryRule_data() {
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("alwaysFails");
        QTest::addColumn<int>("clearAttempts");
        QTest::addColumn<int>("setAttempts");
        QTest::addColumn<bool>("textSet");
        QTest::newRow("clear fails 999 times") << 999 << false << 1000 << 1 << true;
        QTest::newRow("clear gives up, set succeeds") << 1000 << false << 1000 << 1 << true;
        QTest::newRow("set fails 999 times") << 1999 << false << 1000 << 1000 << true;
        QTest::newRow("everything fails: silently dropped") << 0 << true << 1000 << 1000 << false;
    }
    void retryRule() {
        QFETCH(int, failures);
        QFETCH(bool, alwaysFails);
        QFETCH(int, clearAttempts);
        QFETCH(int, setAttempts);
        QFETCH(bool, textSet);
        FakePlatform fake;
        fake.clipboard.failuresLeft = failures;
        fake.clipboard.alwaysFails = alwaysFails;
        const TableList list = makeList({"a"});
        YieldingLoop loop(fake.pump);
        CopyListToClipboard(fake.platform, list, loop);
        QCOMPARE(fake.clipboard.clearAttempts, clearAttempts);
        QCOMPARE(fake.clipboard.setAttempts, setAttempts);
        QCOMPARE(fake.clipboard.text.has_value(), textSet);
        QVERIFY(fake.messages.shown.empty());
    }

    // One very wide row must not make every other line cost its width: the text is linear
    // in its own size, not in rows times the widest row.
    void oneWideRowStaysLinear() {
        FakePlatform fake;
        TableList list;
        const QString wide(1 << 20, QLatin1Char('w'));
        list.addRow(wide);
        for (int i = 0; i < 100000; ++i) {
            list.addRow(QStringLiteral("r"));
        }
        QElapsedTimer timer;
        timer.start();
        YieldingLoop loop(fake.pump);
        CopyListToClipboard(fake.platform, list, loop);
        QVERIFY2(timer.elapsed() < 5000, "copy took too long");
        QCOMPARE(fake.clipboard.text->size(), wide.size() + 2 + 100000 * 3);
        QVERIFY(fake.clipboard.text->endsWith(QStringLiteral("\r\nr\r\n")));
    }
};

QTEST_MAIN(TestCopyListToClipboard)
#include "test_copy_list_to_clipboard.moc"
