#include "main_window/form1.h"
#include "platform/controls/progress_bar.h"
#include "platform/fault_injection.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "support/fake_platform.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

// The main window driven as a user would, with the platform doubles.
class Form1Test : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void freshStartShowsTheDesignedWindow();
    void homePageOpensOnlyOnTheSeventhDraw_data();
    void homePageOpensOnlyOnTheSeventhDraw();
    void helpNamesTheContactPage();
    void sampleDataOverwritesLineAndDelimiterOnly();

    void emptyLineSaysNoLongLineAndNothingElse();
    void splitAppendsPiecesWithProgressAndDone();
    void splitsAccumulateWithoutClearing();
    void progressTextShowsNameAfterLastBackslash();
    void failingAppendCostsOneReportAndSplitGoesOn();
    void editsAreRefusedWhileSplitting();
    void secondSplitDuringSplitAppendsInOrder();
    void progressComesBackAfterASecondSplitDuringSplit();
    void closingDuringSplitStopsEverything();
    void pumpRunsFirstAndLastPieceForSure();

    void deleteRemovesTheSelectedRowOnly();
    void doubleClickRemovesTheClickedRow();
    void clearResultsEmptiesTheList();

  private:
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<Form1> form;

    QStringList rows() const;
    void split(const QString& line, const QString& delimiter = ",");
};

void Form1Test::init() {
    fake = std::make_unique<FakePlatform>();
    form = std::make_unique<Form1>(fake->platform);
    form->Form_Load();
    form->show();
    fake->messages.shown.clear();
}

void Form1Test::cleanup() {
    FaultInjection::disarmAll();
    form.reset();
    fake.reset();
}

QStringList Form1Test::rows() const {
    QStringList all;
    for (qsizetype r = 1; r <= form->ListView1->count(); ++r) {
        all << form->ListView1->text(r);
    }
    return all;
}

void Form1Test::split(const QString& line, const QString& delimiter) {
    form->Text1->setText(line);
    form->Text2->setText(delimiter);
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
}

void Form1Test::freshStartShowsTheDesignedWindow() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvane"));
    QCOMPARE(form->Text1->text(), QString());
    QCOMPARE(form->Text2->text(), QStringLiteral(","));
    QCOMPARE(form->ListView1->columnCount(), 1);
    QCOMPARE(form->ListView1->headerText(1), QStringLiteral("Output"));
    QCOMPARE(form->ListView1->columnWidth(0), 467);  // 7000 twips
    QCOMPARE(form->ProgressBar1->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(form->ProgressBar1->value(), 0);
    QCOMPARE(form->size(), QSize(536, 423));
    QCOMPARE(form->MousePointer(), 0);
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(fake->messages.applicationTitle(), QStringLiteral("Quorvane"));
    QVERIFY(!form->windowIcon().isNull());
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    // Assistive technology sees what a person sees.
    QCOMPARE(form->Text1->accessibleName(), QStringLiteral("Paste Long Line Here"));
    QCOMPARE(form->Text2->accessibleName(),
             QStringLiteral("Split By This Character Or Characters"));
    QCOMPARE(form->ListView1->accessibleName(), QStringLiteral("Output"));
    QCOMPARE(form->PushButton2->text(), QStringLiteral("Start Splitting"));
    QCOMPARE(form->Frame1->title(), QStringLiteral("Paste Long Line Here"));
}

void Form1Test::homePageOpensOnlyOnTheSeventhDraw_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<bool>("opens");
    QTest::newRow("draw 1") << 0.0 << false;
    QTest::newRow("draw 6") << 0.0599 << false;
    QTest::newRow("draw 7 low edge") << 0.06 << true;
    QTest::newRow("draw 7 high edge") << 0.0699 << true;
    QTest::newRow("draw 8") << 0.07 << false;
    QTest::newRow("draw 100") << 0.9999 << false;
}

void Form1Test::homePageOpensOnlyOnTheSeventhDraw() {
    QFETCH(double, fraction);
    QFETCH(bool, opens);
    FakePlatform local;
    local.random.fractions = {fraction};
    local.browser.succeeds = false;  // its result is not looked at
    Form1 window(local.platform);
    window.Form_Load();
    QCOMPARE(local.browser.opened.size(), opens ? 1 : 0);
    if (opens) {
        QVERIFY(local.browser.opened.front().startsWith("https://quorvane.example"));
    }
    QVERIFY(local.messages.shown.empty());
}

void Form1Test::helpNamesTheContactPage() {
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);
    QCOMPARE(fake->messages.shown.size(), size_t(1));
    const ShownMessage& box = fake->messages.shown.front();
    QCOMPARE(box.text,
             QStringLiteral(
                 "Questions? Please contact Team Mirtavel at https://quorvane.example/contact"));
    QCOMPARE(box.title, QStringLiteral("Quorvane"));
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.buttons, MessageButtons::Ok);
}

void Form1Test::sampleDataOverwritesLineAndDelimiterOnly() {
    split("x,y");
    fake->messages.shown.clear();
    form->Text2->setText(";");
    QTest::mouseClick(form->PushButton5, Qt::LeftButton);
    QCOMPARE(form->Text2->text(), QStringLiteral(","));
    QCOMPARE(form->Text1->text().count(','), 6);
    QVERIFY(!form->Text1->text().contains(' '));
    QCOMPARE(rows(), (QStringList{"x", "y"}));
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(form->ListView1->count(), 9);
}

void Form1Test::emptyLineSaysNoLongLineAndNothingElse() {
    split("");
    QCOMPARE(fake->messages.texts(), QStringList{"No long line."});
    QCOMPARE(fake->messages.shown.front().title, QStringLiteral("Quorvane"));
    QCOMPARE(form->ListView1->count(), 0);
    QVERIFY(fake->pointers.applied.empty());
    QCOMPARE(fake->pump.calls, 0);
}

void Form1Test::splitAppendsPiecesWithProgressAndDone() {
    QList<int> values;
    QStringList texts;
    QList<int> pointers;
    fake->pump.everyCall = [&](int) {
        values << form->ProgressBar1->value();
        texts << form->ProgressBar1->barText();
        pointers << form->MousePointer();
    };
    fake->messages.whileShown = [&](const ShownMessage&) {
        // "Done." comes after the pointer and the bar are reset.
        QCOMPARE(form->MousePointer(), 0);
        QCOMPARE(form->ProgressBar1->barText(), QStringLiteral("Progress Bar"));
    };
    split("a,b,c");
    QCOMPARE(rows(), (QStringList{"a", "b", "c"}));
    QCOMPARE(values, (QList<int>{0, 33, 66}));
    QCOMPARE(texts, (QStringList{"Processing: a", "Processing: b", "Processing: c"}));
    QCOMPARE(pointers, (QList<int>{0, 11, 11}));  // the hourglass comes after the first yield
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
    QCOMPARE(fake->messages.shown.front().title, QStringLiteral("Quorvane"));
    QCOMPARE(form->ProgressBar1->value(), 0);
    QCOMPARE(form->MousePointer(), 0);
}

void Form1Test::splitsAccumulateWithoutClearing() {
    split("a,,b");
    split(",x,", ",");
    split("1ab2", "ab");
    QCOMPARE(rows(), (QStringList{"a", "", "b", "", "x", "", "1", "2"}));
    QCOMPARE(fake->messages.texts(), (QStringList{"Done.", "Done.", "Done."}));
}

void Form1Test::progressTextShowsNameAfterLastBackslash() {
    QStringList texts;
    fake->pump.everyCall = [&](int) { texts << form->ProgressBar1->barText(); };
    split("C:\\dir\\file.txt|D:\\end\\|a/b/c|100%", "|");
    QCOMPARE(texts, (QStringList{"Processing: file.txt", "Processing: ", "Processing: a/b/c",
                                 "Processing: 100%"}));
    QCOMPARE(form->ProgressBar1->text(), QStringLiteral("Progress Bar"));
    QCOMPARE(form->ListView1->text(1), QStringLiteral("C:\\dir\\file.txt"));
}

void Form1Test::failingAppendCostsOneReportAndSplitGoesOn() {
    FaultInjection::arm("list.append", 2, "Out of memory");
    split("a,b,c");
    QCOMPARE(rows(), (QStringList{"a", "c"}));
    QCOMPARE(fake->messages.shown.size(), size_t(2));
    const ShownMessage& report = fake->messages.shown[0];
    QCOMPARE(report.title, QStringLiteral("Application Error"));
    QVERIFY(report.text.startsWith(
        "Out of memory\r\nin Quorvane2021/08/31.Form1.Pushbutton2_Click at line 116\r\r"));
    QCOMPARE(fake->messages.shown[1].text, QStringLiteral("Done."));
    QCOMPARE(form->MousePointer(), 0);
}

void Form1Test::editsAreRefusedWhileSplitting() {
    split("keep");
    fake->messages.shown.clear();
    fake->pump.calls = 0;
    fake->pump.at[2] = [&] {
        form->ListView1->selectRow(1);
        QTest::keyClick(form->ListView1, Qt::Key_Delete);
        form->ListView1_DblClick();
        QTest::mouseClick(form->PushButton3, Qt::LeftButton);
    };
    split("a,b,c");
    QCOMPARE(rows(), (QStringList{"keep", "a", "b", "c"}));
    // Once "Done." is shown, they act again.
    form->ListView1->selectRow(1);
    QTest::keyClick(form->ListView1, Qt::Key_Delete);
    QCOMPARE(rows(), (QStringList{"a", "b", "c"}));
    QTest::mouseClick(form->PushButton3, Qt::LeftButton);
    QCOMPARE(form->ListView1->count(), 0);
}

void Form1Test::secondSplitDuringSplitAppendsInOrder() {
    fake->pump.at[2] = [&] {
        form->Text1->setText("x,y");
        QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    };
    split("a,b,c");
    // The first split's pieces were fixed before its loop: "b" and "c" still follow.
    QCOMPARE(rows(), (QStringList{"a", "x", "y", "b", "c"}));
    QCOMPARE(fake->messages.texts(), (QStringList{"Done.", "Done."}));
    QCOMPARE(form->MousePointer(), 0);
}

void Form1Test::progressComesBackAfterASecondSplitDuringSplit() {
    // Long enough that the value stays put over several pieces: the first split must set it
    // again after the second one has reset the bar to 0.
    QStringList pieces;
    for (int i = 0; i < 300; ++i) {
        pieces << QString::number(i);
    }
    QList<int> values;
    fake->pump.everyCall = [&](int) { values << form->ProgressBar1->value(); };
    fake->pump.at[4] = [&] {
        form->Text1->setText("x");
        QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    };
    split(pieces.join(','));
    // Calls 1 to 4 are the first split's pieces 0 to 3, call 5 the second split's only piece,
    // call 6 the first split's piece 4: 4 / 300 is 1 %.
    QCOMPARE(values.mid(0, 6), (QList<int>{0, 0, 0, 1, 0, 1}));
    QCOMPARE(values.last(), 99);
}

void Form1Test::closingDuringSplitStopsEverything() {
    fake->pump.at[2] = [&] { form->close(); };
    split("a,b,c,d");
    QVERIFY(fake->pump.programEnding());
    QCOMPARE(rows(), QStringList{"a"});
    QVERIFY(fake->messages.shown.empty());  // no "Done." after the program ended
}

void Form1Test::pumpRunsFirstAndLastPieceForSure() {
    split("a,b,c,d,e");
    QCOMPARE(fake->pump.calls, 5);
    QCOMPARE(fake->pump.forcedCalls, 2);
}

void Form1Test::deleteRemovesTheSelectedRowOnly() {
    split("a,b,c");
    // No row selected: nothing happens.
    form->ListView1->clearSelection();
    QTest::keyClick(form->ListView1, Qt::Key_Delete);
    QCOMPARE(form->ListView1->count(), 3);
    form->ListView1->selectRow(2);
    for (Qt::Key other : {Qt::Key_Backspace, Qt::Key_A, Qt::Key_Space}) {
        QTest::keyClick(form->ListView1, other);
    }
    QCOMPARE(form->ListView1->count(), 3);
    form->ListView1->selectRow(2);
    QTest::keyClick(form->ListView1, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(rows(), (QStringList{"a", "c"}));
}

void Form1Test::doubleClickRemovesTheClickedRow() {
    split("a,b,c");
    form->ListView1->showPendingRows();
    const QRect second = form->ListView1->visualRect(form->ListView1->model()->index(1, 0));
    QTest::mouseClick(form->ListView1->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(form->ListView1->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(rows(), (QStringList{"a", "c"}));
    // On an empty list: nothing, no message.
    QTest::mouseClick(form->PushButton3, Qt::LeftButton);
    form->ListView1_DblClick();
    QTest::keyClick(form->ListView1, Qt::Key_Delete);
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void Form1Test::clearResultsEmptiesTheList() {
    split("a,b,c");
    QTest::mouseClick(form->PushButton3, Qt::LeftButton);
    QCOMPARE(form->ListView1->count(), 0);
    QCOMPARE(form->ListView1->headerText(1), QStringLiteral("Output"));
    split("d");
    QCOMPARE(rows(), QStringList{"d"});
}

QTEST_MAIN(Form1Test)
#include "test_form1.moc"
