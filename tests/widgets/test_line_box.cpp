// The line box as a person and a screen reader use it: keys, mouse, clipboard, input methods,
// accessibility, and a long pasted line split in the main window.
#include "widgets/line_box/line_box.h"

#include "widgets/control_pictures.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kGrin = QString::fromUtf8("\xF0\x9F\x98\x80");

// A shown, focused box of ordinary size.
struct ShownBox {
    ShownBox() {
        box.setGeometry(10, 10, 300, 30);
        box.show();
        box.activateWindow();
        box.setFocus();
        exposed = QTest::qWaitForWindowExposed(&box);
    }
    bool exposed = false;
    LineBox box;
};

QTestEventList keys(std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> list) {
    QTestEventList events;
    for (const auto& [key, modifiers] : list) {
        events.addKeyClick(key, modifiers);
    }
    return events;
}

QTestEventList join(const QTestEventList& first, const QTestEventList& second) {
    QTestEventList events(first);
    for (const QTestEvent* event : second) {
        events.append(event->clone());
    }
    return events;
}
}  // namespace

class TestLineBox : public QObject {
    Q_OBJECT
  private slots:
    void keyboard_data();
    void keyboard();
    void textChangedFollowsEveryEdit();
    void mouseClickDoubleClickAndShiftClick();
    void pasteKeepsLineBreaksAndTabs();
    void controlCharactersShowAsPictures_data();
    void controlCharactersShowAsPictures();
    void crLfIsOnePictureToCursorAndMouse();
    void menuInsertsTabAndLineBreak();
    void hugeLineLaysOutOnlyAWindow();
    void rightToLeftArrowsFollowTheScreen();
    void inputMethodCommitsAndComposes();
    void screenReaderReadsNameTextAndCursor();
    void screenReaderEdits();
};

void TestLineBox::keyboard_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<qsizetype>("cursor");
    QTest::addColumn<QString>("selected");

    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTestEventList typing;
    typing.addKeyClicks(QStringLiteral("xyz"));
    QTest::newRow("typing appends at the end") << "ab" << typing << "abxyz" << qsizetype(5) << "";
    QTest::newRow("Home then typing inserts at the start")
        << "ab" << join(keys({{Qt::Key_Home, none}}), typing) << "xyzab" << qsizetype(3) << "";
    QTest::newRow("left arrow steps over a surrogate pair")
        << "a" + kGrin << keys({{Qt::Key_Left, none}}) << "a" + kGrin << qsizetype(1) << "";
    QTest::newRow("shift+left selects")
        << "abcd" << keys({{Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_Left, Qt::ShiftModifier}})
        << "abcd" << qsizetype(2) << "cd";
    QTest::newRow("right arrow with a selection goes to its end")
        << "abcd"
        << keys({{Qt::Key_Home, none}, {Qt::Key_Right, Qt::ShiftModifier}, {Qt::Key_Right, none}})
        << "abcd" << qsizetype(1) << "";
    QTest::newRow("ctrl+left moves by words")
        << "one two three" << keys({{Qt::Key_Left, Qt::ControlModifier}}) << "one two three"
        << qsizetype(8) << "";
    QTest::newRow("ctrl+shift+right selects a word")
        << "one two"
        << keys({{Qt::Key_Home, none}, {Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier}})
        << "one two" << qsizetype(4) << "one ";
    QTest::newRow("select all then type replaces everything")
        << "old" << join(keys({{Qt::Key_A, Qt::ControlModifier}}), typing) << "xyz" << qsizetype(3)
        << "";
    QTest::newRow("backspace and delete")
        << "abcd" << keys({{Qt::Key_Backspace, none}, {Qt::Key_Home, none}, {Qt::Key_Delete, none}})
        << "bc" << qsizetype(0) << "";
    QTest::newRow("ctrl+backspace removes a word")
        << "one two" << keys({{Qt::Key_Backspace, Qt::ControlModifier}}) << "one " << qsizetype(4)
        << "";
    QTest::newRow("undo and redo")
        << "ab"
        << join(typing, keys({{Qt::Key_Z, Qt::ControlModifier},
                              {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
                              {Qt::Key_Z, Qt::ControlModifier}}))
        << "ab" << qsizetype(2) << "";
    QTest::newRow("cut and paste move text") << "abcd"
                                             << keys({{Qt::Key_Home, none},
                                                      {Qt::Key_Right, Qt::ShiftModifier},
                                                      {Qt::Key_X, Qt::ControlModifier},
                                                      {Qt::Key_End, none},
                                                      {Qt::Key_V, Qt::ControlModifier}})
                                             << "bcda" << qsizetype(4) << "";
    QTest::newRow("enter and escape change nothing")
        << "ab" << keys({{Qt::Key_Return, none}, {Qt::Key_Escape, none}}) << "ab" << qsizetype(2)
        << "";
}

void TestLineBox::keyboard() {
    QFETCH(QString, initial);
    QFETCH(QTestEventList, events);
    ShownBox shown;
    QVERIFY(shown.exposed);
    shown.box.setText(initial);
    events.simulate(&shown.box);
    QTEST(shown.box.text(), "expected");
    QTEST(shown.box.cursorPosition(), "cursor");
    QTEST(shown.box.selectedText(), "selected");
}

void TestLineBox::textChangedFollowsEveryEdit() {
    ShownBox shown;
    QSignalSpy spy(&shown.box, &LineBox::textChanged);
    shown.box.setText(QStringLiteral("a"));
    QTest::keyClicks(&shown.box, QStringLiteral("bc"));
    QTest::keyClick(&shown.box, Qt::Key_Left);  // no change
    QTest::keyClick(&shown.box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(spy.size(), 4);
    QCOMPARE(spy.at(2).at(0).toString(), QStringLiteral("abc"));
    QCOMPARE(spy.at(3).at(0).toString(), QStringLiteral("a"));
}

void TestLineBox::mouseClickDoubleClickAndShiftClick() {
    ShownBox shown;
    shown.box.setText(QStringLiteral("alpha beta gamma"));
    const QRect beta = shown.box.characterRect(7);  // the "t" of beta
    QTest::mouseClick(&shown.box, Qt::LeftButton, {}, QPoint(beta.left() + 1, beta.center().y()));
    QCOMPARE(shown.box.cursorPosition(), 7);
    QTest::mouseDClick(&shown.box, Qt::LeftButton, {}, beta.center());
    QCOMPARE(shown.box.selectedText(), QStringLiteral("beta"));

    const QRect start = shown.box.characterRect(0);
    QTest::mouseClick(&shown.box, Qt::LeftButton, {}, QPoint(start.left(), start.center().y()));
    QCOMPARE(shown.box.cursorPosition(), 0);
    const QRect g = shown.box.characterRect(11);
    QTest::mouseClick(&shown.box, Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(g.left() + 1, g.center().y()));
    QCOMPARE(shown.box.selectedText(), QStringLiteral("alpha beta "));

    // Pressing, dragging and releasing selects the stretch passed over.
    QTest::mouseClick(&shown.box, Qt::LeftButton, {}, QPoint(start.left(), start.center().y()));
    const QRect a = shown.box.characterRect(6);
    const QRect m = shown.box.characterRect(14);
    QTest::mousePress(&shown.box, Qt::LeftButton, {}, QPoint(a.left() + 1, a.center().y()));
    QMouseEvent move(QEvent::MouseMove, QPointF(m.left() + 1, m.center().y()),
                     shown.box.mapToGlobal(QPointF(m.left() + 1, m.center().y())), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&shown.box, &move);
    QTest::mouseRelease(&shown.box, Qt::LeftButton, {}, QPoint(m.left() + 1, m.center().y()));
    QCOMPARE(shown.box.selectedText(), QStringLiteral("beta gam"));
}

void TestLineBox::pasteKeepsLineBreaksAndTabs() {
    // As in a line edit, a pasted line break stays in the text (it shows as a picture).
    ShownBox shown;
    const QString pasted = QStringLiteral("one\ttwo\r\nthree\nfour");
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(&shown.box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shown.box.text(), pasted);
    QCOMPARE(shown.box.cursorPosition(), pasted.size());
}

void TestLineBox::controlCharactersShowAsPictures_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("mutedRuns");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a\u2192b") << 1;
    QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a\u21B5b") << 1;
    QTest::newRow("CR") << QStringLiteral("a\rb") << QStringLiteral("a\u21B5b") << 1;
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\u21B5\u200Bb") << 1;
    QTest::newRow("LF CR") << QStringLiteral("\n\r") << QStringLiteral("\u21B5\u21B5") << 1;
    QTest::newRow("NUL") << QString(QChar(0)) << QStringLiteral("\u2400") << 1;
    QTest::newRow("DEL") << QStringLiteral("a\x7F") << QStringLiteral("a\u2421") << 1;
    QTest::newRow("spaces") << QStringLiteral("a, b\t") << QStringLiteral("a, b\u2192") << 1;
}

void TestLineBox::controlCharactersShowAsPictures() {
    QFETCH(QString, text);
    const ShownText got = WithControlPictures(text);
    QTEST(got.text, "shown");
    QTEST(int(got.pictures.size()), "mutedRuns");
    QFETCH(QString, shown);
    QCOMPARE(WithControlPictures(text, true).text, shown.replace(u' ', u'\u00B7'));
    ShownBox box;  // drawn with the pictures, read back as it was given
    box.box.setText(text);
    box.box.selectAll();
    box.box.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QCOMPARE(QAccessible::queryAccessibleInterface(&box.box)->text(QAccessible::Value), text);
}

void TestLineBox::crLfIsOnePictureToCursorAndMouse() {
    ShownBox shown;
    shown.box.setText(QStringLiteral("a\r\nb"));
    const QRect picture = shown.box.characterRect(1);  // CR and LF together
    QVERIFY(picture.width() > 1);
    QCOMPARE(shown.box.characterRect(2).width(), 0);  // the LF adds nothing to the picture
    QTest::mouseClick(&shown.box, Qt::LeftButton, {},
                      QPoint(picture.right(), picture.center().y()));
    QCOMPARE(shown.box.cursorPosition(), 3);
    QTest::keyClick(&shown.box, Qt::Key_Left);
    QCOMPARE(shown.box.cursorPosition(), 1);
}

void TestLineBox::menuInsertsTabAndLineBreak() {
    ShownBox shown;
    // Opens the context menu, chooses the entry named `choice` and returns all entries' names.
    const auto openMenu = [&](const QString& choice) {
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            menu->close();
            for (QAction* action : menu->actions()) {
                captions << action->text();
                if (action->text() == choice) {
                    action->trigger();
                }
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(&shown.box, &event);
        return captions;
    };
    QVERIFY(!openMenu(QString()).contains(QStringLiteral("Insert Tab")));  // not by default
    shown.box.offerControlCharacterEntries(true);
    shown.box.setText(QStringLiteral("ab"));
    shown.box.setCursorPosition(1);
    openMenu(QStringLiteral("Insert Tab"));
    openMenu(QStringLiteral("Insert Line Break"));
    QCOMPARE(shown.box.text(), QStringLiteral("a\t\nb"));
    shown.box.undo();
    QCOMPARE(shown.box.text(), QStringLiteral("a\tb"));
    shown.box.undo();
    QCOMPARE(shown.box.text(), QStringLiteral("ab"));
}

void TestLineBox::hugeLineLaysOutOnlyAWindow() {
    ShownBox shown;
    QString line;
    line.reserve(20'000'001);
    while (line.size() < 20'000'000) {
        line += QStringLiteral("1234567,");
    }
    shown.box.setText(line);
    QVERIFY(shown.box.text().isSharedWith(line));  // held once, not copied
    QVERIFY(shown.box.laidOutWindow().length() < 20'000);
    QCOMPARE(shown.box.laidOutWindow().end, line.size());

    QTest::keyClick(&shown.box, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(shown.box.laidOutWindow().start, 0);
    QTest::keyClick(&shown.box, Qt::Key_Z);
    QTest::keyClick(&shown.box, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&shown.box, Qt::Key_Z);
    QCOMPARE(shown.box.text().size(), line.size() + 2);
    QVERIFY(shown.box.text().startsWith(QLatin1String("z1234567,")));
    QVERIFY(shown.box.text().endsWith(QLatin1String("1234567,z")));
    // The cursor is on screen at the end of the line.
    QVERIFY(shown.box.rect().contains(shown.box.cursorRect().center()));
    QCOMPARE(shown.box.positionAt(shown.box.cursorRect().center()), line.size() + 2);
}

void TestLineBox::rightToLeftArrowsFollowTheScreen() {
    ShownBox shown;
    shown.box.setText(QString::fromUtf8("\u05D0\u05D1\u05D2"));  // Hebrew, right to left
    QTest::keyClick(&shown.box, Qt::Key_Right);                  // towards the start of the line
    QCOMPARE(shown.box.cursorPosition(), 2);
    // The start of a right-to-left line is at the right edge of the box.
    QVERIFY(shown.box.characterRect(0).left() > shown.box.characterRect(2).left());
    QVERIFY(shown.box.characterRect(0).right() > shown.box.width() / 2);
}

void TestLineBox::inputMethodCommitsAndComposes() {
    ShownBox shown;
    shown.box.setText(QStringLiteral("ab"));
    QInputMethodEvent composing(QStringLiteral("ka"), {});
    QCoreApplication::sendEvent(&shown.box, &composing);
    QCOMPARE(shown.box.text(), QStringLiteral("ab"));  // not committed yet
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\u304B"));
    QCoreApplication::sendEvent(&shown.box, &commit);
    QCOMPARE(shown.box.text(), QString::fromUtf8("ab\u304B"));
    QCOMPARE(shown.box.inputMethodQuery(Qt::ImSurroundingText).toString(),
             QString::fromUtf8("ab\u304B"));
    QCOMPARE(shown.box.inputMethodQuery(Qt::ImCursorPosition).toInt(), 3);
}

void TestLineBox::screenReaderReadsNameTextAndCursor() {
    ShownBox shown;
    shown.box.setAccessibleName(QStringLiteral("Paste Long Line Here"));
    shown.box.setText(QStringLiteral("one two"));
    shown.box.setCursorPosition(4);
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&shown.box);
    QVERIFY(reader);
    QCOMPARE(reader->role(), QAccessible::EditableText);
    QCOMPARE(reader->text(QAccessible::Name), QStringLiteral("Paste Long Line Here"));
    QCOMPARE(reader->text(QAccessible::Value), QStringLiteral("one two"));
    QVERIFY(reader->state().editable);
    QVERIFY(reader->state().focused);
    QAccessibleTextInterface* text = reader->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 7);
    QCOMPARE(text->cursorPosition(), 4);
    QCOMPARE(text->text(0, 3), QStringLiteral("one"));
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(5, QAccessible::WordBoundary, &start, &end), QStringLiteral("two"));
    QCOMPARE(text->textAtOffset(2, QAccessible::LineBoundary, &start, &end),
             QStringLiteral("one two"));
    QVERIFY(text->characterRect(0).isValid());
    text->setSelection(0, 0, 3);
    QCOMPARE(shown.box.selectedText(), QStringLiteral("one"));
}

void TestLineBox::screenReaderEdits() {
    ShownBox shown;
    shown.box.setText(QStringLiteral("one two"));
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&shown.box);
    QAccessibleEditableTextInterface* edit = reader->editableTextInterface();
    QVERIFY(edit);
    edit->insertText(3, QStringLiteral(" and"));
    edit->replaceText(0, 3, QStringLiteral("1"));
    edit->deleteText(1, 5);
    QCOMPARE(shown.box.text(), QStringLiteral("1 two"));
    reader->setText(QAccessible::Value, QStringLiteral("new"));
    QCOMPARE(shown.box.text(), QStringLiteral("new"));
}

QTEST_MAIN(TestLineBox)
#include "test_line_box.moc"
