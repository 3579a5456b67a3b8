// What other programs and this one read of the text the program offers on the clipboard.
#include "core/fault_injection.h"
#include "platform/qt/qt_clipboard.h"
#include "widgets/line_box/line_box.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

class QtClipboardTest : public QObject {
    Q_OBJECT
  private slots:
    // A request that finds no memory must answer with nothing rather than throw out of the
    // event loop; the next one, and this program's own paste, still get the whole text. Both
    // ways text reaches the clipboard: the program's copies, and a line box's own Copy.
    void requestWithoutMemoryAnswersNothing_data() {
        QTest::addColumn<bool>("fromLineBox");
        QTest::newRow("copy") << false;
        QTest::newRow("line box's copy") << true;
    }
    void requestWithoutMemoryAnswersNothing() {
        QFETCH(bool, fromLineBox);
        const QString text = QStringLiteral("a\u00e9\u20ac\U0001F600\tz");
        QtClipboard clipboard;
        LineBox lineBox;
        if (fromLineBox) {
            lineBox.setText(text);
            lineBox.selectAll();
            lineBox.copy();
        } else {
            QVERIFY(clipboard.trySetText(text));
        }
        const QMimeData* offer = QGuiApplication::clipboard()->mimeData();
        QVERIFY(offer != nullptr);
        FaultInjection::armOutOfMemory("clipboard.request", 1);
        QVERIFY(offer->data(QStringLiteral("text/plain")).isEmpty());
        FaultInjection::disarmAll();
        QCOMPARE(offer->data(QStringLiteral("text/plain;charset=utf-8")), text.toUtf8());
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }
};

QTEST_MAIN(QtClipboardTest)
#include "test_qt_clipboard.moc"
