// The line box's text model: editing, history, cursor stops and the laid-out window, with the
// surrogate pairs and combining marks that break naive index arithmetic.
#include "widgets/line_box/line_text_model.h"
#include "widgets/line_box/text_boundaries.h"
#include "widgets/line_box/text_window.h"

#include <QtTest>

namespace {
const QString kGrin = QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600, a surrogate pair
const QString kAcute = QString(QChar(0x0301));                // combining acute accent
const QString kEAcute = QStringLiteral("e") + kAcute;         // two code units, one cluster

// Runs a small script on a model: "t:abc" types, "p:abc" pastes, "bs", "del", "wbs", "wdel",
// "undo", "redo", "m:3" moves the cursor, "s:1,4" selects from anchor 1 to cursor 4, "all".
void run(LineTextModel& model, const QStringList& script) {
    for (const QString& action : script) {
        const QString arg = action.section(QLatin1Char(':'), 1);
        if (action.startsWith(QLatin1String("t:"))) {
            for (QChar c : arg) {
                model.insert(QString(c));
            }
        } else if (action.startsWith(QLatin1String("p:"))) {
            model.insert(arg, LineTextModel::EditKind::Block);
        } else if (action == QLatin1String("bs")) {
            model.backspace();
        } else if (action == QLatin1String("del")) {
            model.deleteForward();
        } else if (action == QLatin1String("wbs")) {
            model.deleteWordBackward();
        } else if (action == QLatin1String("wdel")) {
            model.deleteWordForward();
        } else if (action == QLatin1String("undo")) {
            model.undo();
        } else if (action == QLatin1String("redo")) {
            model.redo();
        } else if (action.startsWith(QLatin1String("m:"))) {
            model.moveCursor(arg.toLongLong());
        } else if (action.startsWith(QLatin1String("s:"))) {
            model.select(arg.section(QLatin1Char(','), 0, 0).toLongLong(),
                         arg.section(QLatin1Char(','), 1, 1).toLongLong());
        } else if (action == QLatin1String("all")) {
            model.selectAll();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown action ") + action));
        }
    }
}
}  // namespace

class TestLineTextModel : public QObject {
    Q_OBJECT
  private slots:
    void editing_data();
    void editing();
    void history_data();
    void history();
    void pasteIntoEmptyBoxHoldsTheLineOnce();
    void editsAtEveryPlaceOfALongLine_data();
    void editsAtEveryPlaceOfALongLine();
    void historyForgetsOldStepsButKeepsTheLast();
    void cursorStops_data();
    void cursorStops();
    void wordAt_data();
    void wordAt();
    void windowEdges_data();
    void windowEdges();
    void changesAreReported();
};

void TestLineTextModel::editing_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("cursor");

    QTest::newRow("typing at the end") << "ab" << QStringList{"t:cd"} << "abcd" << qsizetype(4);
    QTest::newRow("typing in the middle")
        << "ad" << QStringList{"m:1", "t:bc"} << "abcd" << qsizetype(3);
    QTest::newRow("typing replaces the selection")
        << "a--d" << QStringList{"s:3,1", "t:bc"} << "abcd" << qsizetype(3);
    QTest::newRow("backspace at start does nothing")
        << "ab" << QStringList{"m:0", "bs"} << "ab" << qsizetype(0);
    QTest::newRow("delete at end does nothing")
        << "ab" << QStringList{"del"} << "ab" << qsizetype(2);
    QTest::newRow("backspace removes a whole surrogate pair")
        << "a" + kGrin << QStringList{"bs"} << "a" << qsizetype(1);
    QTest::newRow("delete removes a whole surrogate pair")
        << kGrin + "b" << QStringList{"m:0", "del"} << "b" << qsizetype(0);
    QTest::newRow("backspace removes only the combining mark")
        << "x" + kEAcute << QStringList{"bs"} << "xe" << qsizetype(2);
    QTest::newRow("delete removes the letter with its mark")
        << kEAcute + "x" << QStringList{"m:0", "del"} << "x" << qsizetype(0);
    QTest::newRow("backspace with a selection removes just the selection")
        << "abcd" << QStringList{"s:1,3", "bs"} << "ad" << qsizetype(1);
    QTest::newRow("word backspace removes the word and the blanks after it")
        << "one two  " << QStringList{"wbs"} << "one " << qsizetype(4);
    QTest::newRow("word delete removes up to the next word")
        << "one two" << QStringList{"m:0", "wdel"} << "two" << qsizetype(0);
    QTest::newRow("tabs and line breaks are kept as typed")
        << "" << QStringList{"p:a\tb\r\nc"} << "a\tb\r\nc" << qsizetype(6);
}

void TestLineTextModel::editing() {
    QFETCH(QString, initial);
    QFETCH(QStringList, script);
    LineTextModel model;
    model.setText(initial);
    run(model, script);
    QTEST(model.text(), "expected");
    QTEST(model.cursor(), "cursor");
    QVERIFY(!model.hasSelection());
}

void TestLineTextModel::history_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("selected");

    QTest::newRow("typed characters undo as one step") << "x" << QStringList{"t:abc", "undo"} << "x"
                                                       << "";
    QTest::newRow("a cursor move splits typing into steps")
        << "" << QStringList{"t:ab", "m:0", "t:c", "undo"} << "ab"
        << "";
    QTest::newRow("a paste is a step of its own")
        << "" << QStringList{"t:ab", "p:XY", "t:c", "undo", "undo"} << "ab"
        << "";
    QTest::newRow("undo restores the replaced selection, selected")
        << "abcd" << QStringList{"s:1,3", "p:Z", "undo"} << "abcd"
        << "bc";
    QTest::newRow("backspaces undo together")
        << "abcd" << QStringList{"bs", "bs", "bs", "undo"} << "abcd"
        << "";
    QTest::newRow("deletes undo together")
        << "abcd" << QStringList{"m:0", "del", "del", "undo"} << "abcd"
        << "";
    QTest::newRow("redo brings the paste back")
        << "ab" << QStringList{"p:XY", "undo", "redo"} << "abXY"
        << "";
    QTest::newRow("undo and redo of a surrogate pair")
        << "a" << QStringList{"p:" + kGrin, "bs", "undo", "undo", "redo"} << "a" + kGrin << "";
    QTest::newRow("a new edit drops what could be redone")
        << "" << QStringList{"p:one", "undo", "t:x", "redo"} << "x"
        << "";
    QTest::newRow("undo with nothing to undo does nothing")
        << "keep" << QStringList{"undo", "redo"} << "keep"
        << "";
    QTest::newRow("undo of a paste over everything")
        << "old" << QStringList{"all", "p:new", "undo", "undo"} << "old"
        << "old";
}

void TestLineTextModel::history() {
    QFETCH(QString, initial);
    QFETCH(QStringList, script);
    LineTextModel model;
    model.setText(initial);
    run(model, script);
    QTEST(model.text(), "expected");
    QTEST(model.selectedText(), "selected");
}

void TestLineTextModel::pasteIntoEmptyBoxHoldsTheLineOnce() {
    const QString pasted(1 << 20, QLatin1Char('7'));
    LineTextModel model;
    model.insert(pasted, LineTextModel::EditKind::Block);
    QCOMPARE(model.text(), pasted);
    QCOMPARE(model.historySize(), 0);

    // Undo and redo move the line between the text and the history; it is never held twice.
    model.undo();
    QVERIFY(model.text().isEmpty());
    QCOMPARE(model.historySize(), pasted.size());
    model.redo();
    QCOMPARE(model.text(), pasted);
    QCOMPARE(model.historySize(), 0);

    // Set from outside, the line is shared, not copied.
    model.setText(pasted);
    QVERIFY(model.text().isSharedWith(pasted));
}

void TestLineTextModel::editsAtEveryPlaceOfALongLine_data() {
    QTest::addColumn<qsizetype>("position");
    QTest::newRow("start") << qsizetype(0);
    QTest::newRow("near the start") << qsizetype(3);
    QTest::newRow("before the middle") << qsizetype(4999);
    QTest::newRow("after the middle") << qsizetype(5001);
    QTest::newRow("near the end") << qsizetype(9997);
    QTest::newRow("end") << qsizetype(10000);
}

void TestLineTextModel::editsAtEveryPlaceOfALongLine() {
    // Edits move whichever side of the line is shorter; the text must come out the same.
    QFETCH(qsizetype, position);
    QString expected;
    for (int i = 0; i < 1000; ++i) {
        expected += QStringLiteral("%1,").arg(i % 10).repeated(5);
    }
    LineTextModel model;
    model.insert(expected, LineTextModel::EditKind::Block);
    model.moveCursor(position);
    run(model, {"t:ab", "p:" + kGrin, "bs", "bs"});
    expected.insert(position, QStringLiteral("a"));
    QCOMPARE(model.text(), expected);
    model.select(position, position + 3);
    model.deleteForward();
    expected.remove(position, 3);
    QCOMPARE(model.text(), expected);
    model.undo();
    model.undo();
    model.undo();
    model.undo();
    QCOMPARE(model.text().size(), 10000);
}

void TestLineTextModel::historyForgetsOldStepsButKeepsTheLast() {
    const qsizetype big = LineTextModel::kHistoryBudget / 2 + 1;
    LineTextModel model;
    model.setText(QString(big, QLatin1Char('a')));
    model.selectAll();
    model.insert(QString(big, QLatin1Char('b')), LineTextModel::EditKind::Block);
    model.selectAll();
    model.insert(QString(big, QLatin1Char('c')), LineTextModel::EditKind::Block);
    model.selectAll();
    model.insert(QStringLiteral("d"), LineTextModel::EditKind::Block);
    QVERIFY(model.historySize() <= LineTextModel::kHistoryBudget);
    // Two steps of more than half the budget each do not fit: only the newest is kept.
    model.undo();
    QCOMPARE(model.text(), QString(big, QLatin1Char('c')));
    QVERIFY(!model.canUndo());
}

void TestLineTextModel::cursorStops_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("pos");
    QTest::addColumn<qsizetype>("next");
    QTest::addColumn<qsizetype>("previous");
    QTest::addColumn<qsizetype>("nextWord");
    QTest::addColumn<qsizetype>("previousWord");

    QTest::newRow("plain letters") << "abc def" << qsizetype(1) << qsizetype(2) << qsizetype(0)
                                   << qsizetype(4) << qsizetype(0);
    QTest::newRow("before a surrogate pair") << "a" + kGrin + "b" << qsizetype(1) << qsizetype(3)
                                             << qsizetype(0) << qsizetype(4) << qsizetype(0);
    QTest::newRow("after a surrogate pair") << "a" + kGrin + "b" << qsizetype(3) << qsizetype(4)
                                            << qsizetype(1) << qsizetype(4) << qsizetype(0);
    QTest::newRow("letter with combining mark") << kEAcute + kEAcute << qsizetype(2) << qsizetype(4)
                                                << qsizetype(0) << qsizetype(4) << qsizetype(0);
    QTest::newRow("punctuation is a word of its own")
        << "ab,,cd" << qsizetype(2) << qsizetype(3) << qsizetype(1) << qsizetype(4) << qsizetype(0);
    QTest::newRow("blanks belong to the word before")
        << "ab   cd" << qsizetype(3) << qsizetype(4) << qsizetype(2) << qsizetype(5)
        << qsizetype(0);
    QTest::newRow("right-to-left letters")
        << QString::fromUtf8("\u05E9\u05DC\u05D5\u05DD \u05D0") << qsizetype(0) << qsizetype(1)
        << qsizetype(0) << qsizetype(5) << qsizetype(0);
    QTest::newRow("a long run of marks is one cluster")
        << "a" + QString(200, QChar(0x0301)) + "b" << qsizetype(201) << qsizetype(202)
        << qsizetype(0) << qsizetype(202) << qsizetype(0);
}

void TestLineTextModel::cursorStops() {
    QFETCH(QString, text);
    QFETCH(qsizetype, pos);
    QTEST(TextBoundaries::nextGrapheme(text, pos), "next");
    QTEST(TextBoundaries::previousGrapheme(text, pos), "previous");
    QTEST(TextBoundaries::nextWordStart(text, pos), "nextWord");
    QTEST(TextBoundaries::previousWordStart(text, pos), "previousWord");
}

void TestLineTextModel::wordAt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("pos");
    QTest::addColumn<QString>("word");

    QTest::newRow("inside a word") << "alpha beta" << qsizetype(2) << "alpha";
    QTest::newRow("right after a word") << "alpha beta" << qsizetype(5) << "alpha";
    QTest::newRow("at the end") << "alpha beta" << qsizetype(10) << "beta";
    QTest::newRow("between delimiters") << "1,22,3" << qsizetype(3) << "22";
    QTest::newRow("on a delimiter run") << "1,,,2" << qsizetype(2) << ",,,";
    QTest::newRow("a word with marks and pairs")
        << "x " + kEAcute + kGrin + " y" << qsizetype(3) << kEAcute + kGrin;
}

void TestLineTextModel::wordAt() {
    QFETCH(QString, text);
    QFETCH(qsizetype, pos);
    const TextBoundaries::Range range = TextBoundaries::wordAt(text, pos);
    QTEST(text.mid(range.start, range.end - range.start), "word");
}

void TestLineTextModel::windowEdges_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("pos");
    QTest::addColumn<qsizetype>("before");
    QTest::addColumn<qsizetype>("after");
    QTest::addColumn<qsizetype>("start");
    QTest::addColumn<qsizetype>("end");

    const QString digits = QStringLiteral("0123456789");
    QTest::newRow("inside plain text")
        << digits << qsizetype(5) << qsizetype(2) << qsizetype(3) << qsizetype(3) << qsizetype(8);
    QTest::newRow("what the start cannot use goes to the end")
        << digits << qsizetype(1) << qsizetype(3) << qsizetype(3) << qsizetype(0) << qsizetype(6);
    QTest::newRow("what the end cannot use goes to the start")
        << digits << qsizetype(9) << qsizetype(3) << qsizetype(3) << qsizetype(4) << qsizetype(10);
    QTest::newRow("the whole of a short text") << digits << qsizetype(5) << qsizetype(50)
                                               << qsizetype(50) << qsizetype(0) << qsizetype(10);
    // "ab😀cd😀ef": the pairs sit at 2-3 and 6-7.
    const QString pairs = "ab" + kGrin + "cd" + kGrin + "ef";
    QTest::newRow("start inside a surrogate pair moves out")
        << pairs << qsizetype(5) << qsizetype(2) << qsizetype(1) << qsizetype(2) << qsizetype(6);
    QTest::newRow("end inside a surrogate pair moves out")
        << pairs << qsizetype(5) << qsizetype(1) << qsizetype(2) << qsizetype(4) << qsizetype(8);
    // "ab" + e + mark + "cd" + e + mark + "f": the marks sit at 3 and 7.
    const QString marks = "ab" + kEAcute + "cd" + kEAcute + "f";
    QTest::newRow("start between letter and mark moves before the letter")
        << marks << qsizetype(5) << qsizetype(2) << qsizetype(0) << qsizetype(2) << qsizetype(5);
    QTest::newRow("end between letter and mark moves after the mark")
        << marks << qsizetype(5) << qsizetype(0) << qsizetype(2) << qsizetype(5) << qsizetype(8);
}

void TestLineTextModel::windowEdges() {
    QFETCH(QString, text);
    QFETCH(qsizetype, pos);
    QFETCH(qsizetype, before);
    QFETCH(qsizetype, after);
    const TextWindow window = windowAround(text, pos, before, after);
    QTEST(window.start, "start");
    QTEST(window.end, "end");
}

void TestLineTextModel::changesAreReported() {
    LineTextModel model;
    std::vector<LineTextModel::Change> changes;
    model.onTextChanged = [&](const LineTextModel::Change& c) { changes.push_back(c); };
    model.setText(QStringLiteral("abc"));
    model.setText(QStringLiteral("abc"));  // the same text again is no change
    model.select(1, 2);
    model.insert(QStringLiteral("XY"));
    model.undo();
    QCOMPARE(changes.size(), std::size_t(3));
    QCOMPARE(changes[1].position, 1);
    QCOMPARE(changes[1].removed, QStringLiteral("b"));
    QCOMPARE(changes[1].insertedLength, 2);
    QCOMPARE(changes[2].removed, QStringLiteral("XY"));
    QCOMPARE(changes[2].insertedLength, 1);
}

QTEST_GUILESS_MAIN(TestLineTextModel)
#include "test_line_text_model.moc"
