#include "core/fault_injection.h"
#include "core/memory_reserve.h"
#include "main_window/main_window.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QAccessible>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The main window driven as a user would, with the platform doubles.
class MainWindowTest : public QObject {
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
    void failingAppendCostsOneReport_data();
    void failingAppendCostsOneReport();
    void editsAreRefusedWhileSplitting();
    void secondSplitDuringSplitAppendsInOrder();
    void progressComesBackAfterASecondSplitDuringSplit();
    void closingDuringSplitStopsEverything();
    void pumpRunsFirstAndLastPieceForSure();

    void deleteRemovesTheSelectedRowOnly();
    void doubleClickRemovesTheClickedRow();
    void clearResultsEmptiesTheList();

    void pastedLongLineIsSplitInTheMainWindow();
    void keysPressTheirButtons_data();
    void keysPressTheirButtons();

    void droppedFilesGoIntoTheLine_data();
    void droppedFilesGoIntoTheLine();
    void escapeStopsADropLeavingTheLine();

  private:
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MainWindow> form;

    QStringList rows() const;
    void split(const QString& line, const QString& delimiter = ",");
};

void MainWindowTest::init() {
    fake = std::make_unique<FakePlatform>();
    form = std::make_unique<MainWindow>(fake->platform);
    form->load();
    form->show();
    fake->messages.shown.clear();
}

void MainWindowTest::cleanup() {
    FaultInjection::disarmAll();
    form.reset();
    fake.reset();
}

QStringList MainWindowTest::rows() const {
    QStringList all;
    for (qsizetype r = 1; r <= controls(*form).resultsList->count(); ++r) {
        all << controls(*form).resultsList->text(RowNumber(r));
    }
    return all;
}

void MainWindowTest::split(const QString& line, const QString& delimiter) {
    controls(*form).lineBox->setText(line);
    controls(*form).delimiterBox->setText(delimiter);
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
}

void MainWindowTest::freshStartShowsTheDesignedWindow() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Quorvane"));
    QCOMPARE(controls(*form).lineBox->text(), QString());
    QCOMPARE(controls(*form).delimiterBox->text(), QStringLiteral(","));
    QCOMPARE(controls(*form).resultsList->columnCount(), 1);
    QCOMPARE(controls(*form).resultsList->headerText(1), QStringLiteral("Output"));
    QCOMPARE(controls(*form).resultsList->header()->sectionSize(0), 467);  // 7000 twips
    QCOMPARE(controls(*form).progressBar->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(controls(*form).progressBar->value(), 0);
    QCOMPARE(form->size(), QSize(536, 423));
    QCOMPARE(form->pointerShape(), PointerShape::Default);
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(fake->messages.titleOrApplicationTitle(QString()), QStringLiteral("Quorvane"));
    // The icon files made it into the program, at the smallest and the largest size.
    QCOMPARE(form->windowIcon().pixmap(QSize(16, 16)).size(), QSize(16, 16));
    QCOMPARE(form->windowIcon().availableSizes().last(), QSize(256, 256));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    // Assistive technology sees what a person sees.
    QCOMPARE(controls(*form).lineBox->accessibleName(), QStringLiteral("Paste Long Line Here"));
    QCOMPARE(controls(*form).delimiterBox->accessibleName(),
             QStringLiteral("Split By This Character Or Characters"));
    QCOMPARE(controls(*form).resultsList->accessibleName(), QStringLiteral("Output"));
    QCOMPARE(controls(*form).startSplittingButton->text(), QStringLiteral("Start Splitting"));
    QCOMPARE(controls(*form).lineFrame->title(), QStringLiteral("Paste Long Line Here"));
}

void MainWindowTest::homePageOpensOnlyOnTheSeventhDraw_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<bool>("opens");
    QTest::newRow("draw 1") << 0.0 << false;
    QTest::newRow("draw 6") << 0.0599 << false;
    QTest::newRow("draw 7 low edge") << 0.06 << true;
    QTest::newRow("draw 7 high edge") << 0.0699 << true;
    QTest::newRow("draw 8") << 0.07 << false;
    QTest::newRow("draw 100") << 0.9999 << false;
}

void MainWindowTest::homePageOpensOnlyOnTheSeventhDraw() {
    QFETCH(double, fraction);
    QFETCH(bool, opens);
    FakePlatform local;
    local.random.fractions = {fraction};
    local.browser.succeeds = false;  // its result is not looked at
    MainWindow window(local.platform);
    window.load();
    QCOMPARE(local.browser.opened.size(), opens ? 1 : 0);
    if (opens) {
        QVERIFY(local.browser.opened.front().startsWith("https://quorvane.example"));
    }
    QVERIFY(local.messages.shown.empty());
}

void MainWindowTest::helpNamesTheContactPage() {
    QTest::mouseClick(controls(*form).helpButton, Qt::LeftButton);
    QCOMPARE(fake->messages.shown.size(), size_t(1));
    const ShownMessage& box = fake->messages.shown.front();
    QCOMPARE(box.text,
             QStringLiteral(
                 "Questions? Please contact Team Mirtavel at https://quorvane.example/contact"));
    QCOMPARE(box.title, QStringLiteral("Quorvane"));
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.buttons, MessageButtons::Ok);
}

void MainWindowTest::sampleDataOverwritesLineAndDelimiterOnly() {
    split("x,y");
    fake->messages.shown.clear();
    controls(*form).delimiterBox->setText(";");
    QTest::mouseClick(controls(*form).loadSampleButton, Qt::LeftButton);
    QCOMPARE(controls(*form).delimiterBox->text(), QStringLiteral(","));
    QCOMPARE(controls(*form).lineBox->text().count(','), 6);
    QVERIFY(!controls(*form).lineBox->text().contains(' '));
    QCOMPARE(rows(), (QStringList{"x", "y"}));
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(controls(*form).resultsList->count(), 9);
}

void MainWindowTest::emptyLineSaysNoLongLineAndNothingElse() {
    split("");
    QCOMPARE(fake->messages.texts(), QStringList{"No long line."});
    QCOMPARE(fake->messages.shown.front().title, QStringLiteral("Quorvane"));
    QCOMPARE(controls(*form).resultsList->count(), 0);
    QVERIFY(fake->pointers.applied.empty());
    QCOMPARE(fake->pump.calls, 0);
}

void MainWindowTest::splitAppendsPiecesWithProgressAndDone() {
    QList<int> values;
    QStringList texts;
    QList<PointerShape> pointers;
    fake->pump.everyCall = [&](int) {
        values << controls(*form).progressBar->value();
        texts << controls(*form).progressBar->barText();
        pointers << form->pointerShape();
    };
    fake->messages.whileShown = [&](const ShownMessage&) {
        // "Done." comes after the pointer and the bar are reset.
        QCOMPARE(form->pointerShape(), PointerShape::Default);
        QCOMPARE(controls(*form).progressBar->barText(), QStringLiteral("Progress Bar"));
    };
    split("a,b,c");
    QCOMPARE(rows(), (QStringList{"a", "b", "c"}));
    QCOMPARE(values, (QList<int>{0, 33, 66}));
    QCOMPARE(texts, (QStringList{"Processing: a", "Processing: b", "Processing: c"}));
    // The hourglass comes after the first yield.
    QCOMPARE(pointers, (QList<PointerShape>{PointerShape::Default, PointerShape::Hourglass,
                                            PointerShape::Hourglass}));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
    QCOMPARE(fake->messages.shown.front().title, QStringLiteral("Quorvane"));
    QCOMPARE(controls(*form).progressBar->value(), 0);
    QCOMPARE(form->pointerShape(), PointerShape::Default);
}

void MainWindowTest::splitsAccumulateWithoutClearing() {
    split("a,,b");
    split(",x,", ",");
    split("1ab2", "ab");
    QCOMPARE(rows(), (QStringList{"a", "", "b", "", "x", "", "1", "2"}));
    QCOMPARE(fake->messages.texts(), (QStringList{"Done.", "Done.", "Done."}));
}

void MainWindowTest::progressTextShowsNameAfterLastBackslash() {
    QStringList texts;
    fake->pump.everyCall = [&](int) { texts << controls(*form).progressBar->barText(); };
    split("C:\\dir\\file.txt|D:\\end\\|a/b/c|100%", "|");
    QCOMPARE(texts, (QStringList{"Processing: file.txt", "Processing: ", "Processing: a/b/c",
                                 "Processing: 100%"}));
    QCOMPARE(controls(*form).progressBar->text(), QStringLiteral("Progress Bar"));
    QCOMPARE(controls(*form).resultsList->text(RowNumber(1)), QStringLiteral("C:\\dir\\file.txt"));
}

void MainWindowTest::failingAppendCostsOneReport_data() {
    QTest::addColumn<bool>("outOfMemory");
    QTest::addColumn<QStringList>("rowsKept");
    QTest::newRow("a failure: the split goes on") << false << QStringList{"a", "c"};
    // Every later piece would fail as well, each with a report the memory cannot hold.
    QTest::newRow("out of memory: the split stops") << true << QStringList{"a"};
}

void MainWindowTest::failingAppendCostsOneReport() {
    QFETCH(bool, outOfMemory);
    QFETCH(QStringList, rowsKept);
    outOfMemory ? FaultInjection::armOutOfMemory("list.append", 2)
                : FaultInjection::arm("list.append", 2, "Out of memory");
    MemoryReserve::take();
    std::optional<bool> reserveHeldWhileShown;
    fake->messages.whileShown = [&](const ShownMessage&) {
        reserveHeldWhileShown = reserveHeldWhileShown.value_or(MemoryReserve::held());
    };
    split("a,b,c");
    QCOMPARE(rows(), rowsKept);
    QCOMPARE(reserveHeldWhileShown, !outOfMemory);  // spent on the report
    QVERIFY(MemoryReserve::held());
    QCOMPARE(fake->messages.shown.size(), size_t(2));
    const ShownMessage& report = fake->messages.shown[0];
    QCOMPARE(report.title, QStringLiteral("Application Error"));
    QVERIFY(report.text.startsWith(
        "Out of memory\r\nin Quorvane2021/08/31.Form1.Pushbutton2_Click at line 116\r\r"));
    QCOMPARE(fake->messages.shown[1].text, QStringLiteral("Done."));
    QCOMPARE(form->pointerShape(), PointerShape::Default);
}

void MainWindowTest::editsAreRefusedWhileSplitting() {
    split("keep");
    fake->messages.shown.clear();
    fake->pump.calls = 0;
    fake->pump.at[2] = [&] {
        controls(*form).resultsList->selectRow(RowNumber(1));
        QTest::keyClick(controls(*form).resultsList, Qt::Key_Delete);
        form->resultsListDoubleClicked();
        QTest::mouseClick(controls(*form).clearResultsButton, Qt::LeftButton);
    };
    split("a,b,c");
    QCOMPARE(rows(), (QStringList{"keep", "a", "b", "c"}));
    // Once "Done." is shown, they act again.
    controls(*form).resultsList->selectRow(RowNumber(1));
    QTest::keyClick(controls(*form).resultsList, Qt::Key_Delete);
    QCOMPARE(rows(), (QStringList{"a", "b", "c"}));
    QTest::mouseClick(controls(*form).clearResultsButton, Qt::LeftButton);
    QCOMPARE(controls(*form).resultsList->count(), 0);
}

void MainWindowTest::secondSplitDuringSplitAppendsInOrder() {
    fake->pump.at[2] = [&] {
        controls(*form).lineBox->setText("x,y");
        QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    };
    split("a,b,c");
    // The first split's pieces were fixed before its loop: "b" and "c" still follow.
    QCOMPARE(rows(), (QStringList{"a", "x", "y", "b", "c"}));
    QCOMPARE(fake->messages.texts(), (QStringList{"Done.", "Done."}));
    QCOMPARE(form->pointerShape(), PointerShape::Default);
}

void MainWindowTest::progressComesBackAfterASecondSplitDuringSplit() {
    // Long enough that the value stays put over several pieces: the first split must set it
    // again after the second one has reset the bar to 0.
    QStringList pieces;
    for (int i = 0; i < 300; ++i) {
        pieces << QString::number(i);
    }
    QList<int> values;
    fake->pump.everyCall = [&](int) { values << controls(*form).progressBar->value(); };
    fake->pump.at[4] = [&] {
        controls(*form).lineBox->setText("x");
        QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    };
    split(pieces.join(','));
    // Calls 1 to 4 are the first split's pieces 0 to 3, call 5 the second split's only piece,
    // call 6 the first split's piece 4: 4 / 300 is 1 %.
    QCOMPARE(values.mid(0, 6), (QList<int>{0, 0, 0, 1, 0, 1}));
    QCOMPARE(values.last(), 99);
}

void MainWindowTest::closingDuringSplitStopsEverything() {
    fake->pump.at[2] = [&] { form->close(); };
    split("a,b,c,d");
    QVERIFY(fake->pump.programEnding());
    QCOMPARE(rows(), QStringList{"a"});
    QVERIFY(fake->messages.shown.empty());  // no "Done." after the program ended
}

void MainWindowTest::pumpRunsFirstAndLastPieceForSure() {
    split("a,b,c,d,e");
    QCOMPARE(fake->pump.calls, 5);
    QCOMPARE(fake->pump.forcedCalls, 2);
}

void MainWindowTest::deleteRemovesTheSelectedRowOnly() {
    split("a,b,c");
    // No row selected: nothing happens.
    controls(*form).resultsList->clearSelection();
    QTest::keyClick(controls(*form).resultsList, Qt::Key_Delete);
    QCOMPARE(controls(*form).resultsList->count(), 3);
    controls(*form).resultsList->selectRow(RowNumber(2));
    for (Qt::Key other : {Qt::Key_Backspace, Qt::Key_A, Qt::Key_Space}) {
        QTest::keyClick(controls(*form).resultsList, other);
    }
    QCOMPARE(controls(*form).resultsList->count(), 3);
    controls(*form).resultsList->selectRow(RowNumber(2));
    QTest::keyClick(controls(*form).resultsList, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(rows(), (QStringList{"a", "c"}));
}

void MainWindowTest::doubleClickRemovesTheClickedRow() {
    split("a,b,c");
    const QRect second = controls(*form).resultsList->rowRect(RowNumber(2));
    QTest::mouseClick(controls(*form).resultsList->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(controls(*form).resultsList->viewport(), Qt::LeftButton, {},
                       second.center());
    QCOMPARE(rows(), (QStringList{"a", "c"}));
    // On an empty list: nothing, no message.
    QTest::mouseClick(controls(*form).clearResultsButton, Qt::LeftButton);
    form->resultsListDoubleClicked();
    QTest::keyClick(controls(*form).resultsList, Qt::Key_Delete);
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void MainWindowTest::clearResultsEmptiesTheList() {
    split("a,b,c");
    QTest::mouseClick(controls(*form).clearResultsButton, Qt::LeftButton);
    QCOMPARE(controls(*form).resultsList->count(), 0);
    QCOMPARE(controls(*form).resultsList->headerText(1), QStringLiteral("Output"));
    split("d");
    QCOMPARE(rows(), QStringList{"d"});
}

void MainWindowTest::pastedLongLineIsSplitInTheMainWindow() {
    FakePlatform fake;
    MainWindow form(fake.platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    controls(form).delimiterBox->setText(QStringLiteral(","));
    QCOMPARE(QAccessible::queryAccessibleInterface(controls(form).lineBox)->text(QAccessible::Name),
             QStringLiteral("Paste Long Line Here"));

    // 20,000 pieces of 999 characters: a line of about 20 MB.
    constexpr int kPieces = 20'000;
    QString line;
    line.reserve(kPieces * 1000);
    for (int i = 0; i < kPieces; ++i) {
        if (i > 0) {
            line += QLatin1Char(',');
        }
        line += QString::number(i).rightJustified(999, QLatin1Char('0'));
    }
    QGuiApplication::clipboard()->setText(line);
    controls(form).lineBox->setFocus();
    QTest::keyClick(controls(form).lineBox, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(controls(form).lineBox->text().size(), line.size());

    controls(form).startSplittingButton->click();
    QCOMPARE(controls(form).resultsList->count(), kPieces);
    QCOMPARE(controls(form).resultsList->text(RowNumber(kPieces)),  // rows count from 1
             QString::number(kPieces - 1).rightJustified(999, QLatin1Char('0')));
    QCOMPARE(fake.messages.texts(), QStringList{QStringLiteral("Done.")});
}

void MainWindowTest::keysPressTheirButtons_data() {
    QTest::addColumn<QString>("focus");  // "batch." names a control of the batch window
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("done");
    const auto row = [](const char* name, QString focus, QString keys, QString done) {
        QTest::newRow(name) << focus << keys << done;
    };
    row("Enter, button", "startSplittingButton", "Return", "Done.");
    row("keypad Enter, button", "saveResultsButton", "Num+Enter", "save");
    row("line box", "lineBox", "Ctrl+Return", "Done.");
    row("delimiter box", "delimiterBox", "Ctrl+Num+Enter", "Done.");
    row("not in the list", "resultsList", "Ctrl+Return", "");
    row("save", "lineBox", "Ctrl+S", "save");
    row("copy, not the list's Ctrl+C", "resultsList", "Ctrl+Shift+C",
        "Results have been copied to the clipboard.");
    row("batch: Enter, button", "batch.saveResultsButton", "Return", "save");
    row("batch: delimiter box", "batch.delimiterBox", "Ctrl+Return", "Done.");
    row("batch: not in the list", "batch.inputList", "Ctrl+Return", "");
    row("batch: save", "batch.inputList", "Ctrl+S", "save");
    row("batch: copy", "batch.resultsList", "Ctrl+Shift+C", "clipboard");
    row("batch: back, asked first", "batch.delimiterBox", "Esc",
        "Leave the batch window?\n\n1 long line and 1 result will be cleared. back");
    row("to the line box, ready for a paste", "resultsList", "Ctrl+L", "line box selected");
}

void MainWindowTest::keysPressTheirButtons() {
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    QFETCH(QString, done);
    const bool batch = focus.startsWith("batch.");
    controls(*form).lineBox->setText("a,b");
    QWidget* window = form.get();
    if (batch) {
        QTest::mouseClick(controls(*form).openBatchWindowButton, Qt::LeftButton);
        window = form->batchWindow();
        controls(*form->batchWindow()).inputList->append("a,b");
        controls(*form->batchWindow()).resultsList->append("row");
        fake->messages.answers = {MessageAnswer::Yes};  // "Leave", if asked
    }
    window->activateWindow();  // shortcuts take keys only in the active window
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* target = window->findChild<QWidget*>(focus.section('.', -1));
    target->setFocus();
    fake->fileDialogs.saveAnswers.push_back(QString());
    const QKeyCombination pressed = QKeySequence::fromString(keys)[0];
    QTest::keyClick(target, pressed.key(), pressed.keyboardModifiers());

    QStringList happened = fake->messages.texts();
    if (!fake->fileDialogs.saves.empty()) {
        happened << "save";
    }
    if (fake->clipboard.text) {
        happened << "clipboard";
    }
    if (batch && form->batchWindow() == nullptr) {
        happened << "back";
    }
    if (controls(*form).lineBox->hasFocus() && controls(*form).lineBox->selectedText() == "a,b") {
        happened << "line box selected";
    }
    QCOMPARE(happened.join(' ').section('\r', 0, 0), done);
}

void MainWindowTest::droppedFilesGoIntoTheLine_data() {
    QTest::addColumn<QList<QByteArray>>("files");  // a null one is a file that is not there
    QTest::addColumn<QString>("line");
    // Reading goes a piece of 4 MiB at a time.
    const QByteArray big(4 << 20, 'a');
    const auto row = [](const char* name, QList<QByteArray> files, QString line) {
        QTest::newRow(name) << files << line;
    };
    row("apart by the delimiter", {"a1,a2\n", "b1,b2\r\n", "c1,c2"}, "a1,a2,b1,b2,c1,c2");
    row("no delimiter for no text", {"a", "", QByteArray(), "\n", "b"}, "a,b");
    row("marks", {"\xEF\xBB\xBFx\xC3\xA9", QByteArray("\xFF\xFEy\0", 4)}, "x\u00E9,y");
    row("character cut between pieces", {big.first(big.size() - 1) + "\xC3\xA9"},
        big.first(big.size() - 1) + "\u00E9");
    row("not UTF-8 after the first piece", {big + "\xC3\xA9\xE9"}, big + "\u00C3\u00A9\u00E9");
}

void MainWindowTest::droppedFilesGoIntoTheLine() {
    QFETCH(QList<QByteArray>, files);
    QFETCH(QString, line);
    QTemporaryDir dir;
    QStringList paths;
    for (const QByteArray& bytes : files) {
        QFile file(dir.filePath(QString::number(paths.size())));
        QVERIFY(bytes.isNull() || (file.open(QIODevice::WriteOnly) && file.write(bytes) >= 0));
        paths << file.fileName();
    }
    controls(*form).lineBox->setText("<>");
    controls(*form).delimiterBox->setText(",");
    form->lineBoxFilesDropped(paths, 1);
    QCOMPARE(controls(*form).lineBox->text(), "<" + line + ">");
    QCOMPARE(fake->messages.texts(),
             files.contains(QByteArray()) ? QStringList{"File not found"} : QStringList());
    QCOMPARE(controls(*form).progressBar->barText(), QStringLiteral("Progress Bar"));
}

void MainWindowTest::escapeStopsADropLeavingTheLine() {
    QTemporaryDir dir;
    QFile file(dir.filePath("big.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(9 << 20, 'a')) > 0);
    file.close();
    form->activateWindow();  // shortcuts take keys only in the active window
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    controls(*form).lineBox->setText("keep");
    QStringList texts;
    fake->pump.everyCall = [&](int) { texts << controls(*form).progressBar->barText(); };
    fake->pump.at[2] = [&] { QTest::keyClick(controls(*form).lineBox, Qt::Key_Escape); };
    form->lineBoxFilesDropped({file.fileName(), file.fileName()}, 0);
    QCOMPARE(fake->pump.calls, 2);
    QCOMPARE(texts.first(), "Reading: big.txt");
    QCOMPARE(controls(*form).lineBox->text(), QStringLiteral("keep"));
    QVERIFY(!controls(*form).lineBox->isUndoAvailable());
    QCOMPARE(controls(*form).progressBar->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(form->pointerShape(), PointerShape::Default);
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
