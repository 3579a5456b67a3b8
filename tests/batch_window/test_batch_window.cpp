#include "batch_window/batch_window.h"
#include "core/fault_injection.h"
#include "core/memory_reserve.h"
#include "list_tidying/results_tidying.h"
#include "main_window/main_window.h"
#include "shell/web_addresses.h"
#include "shell/window_fitting.h"
#include "support/fake_platform.h"
#include "support/list_rows.h"
#include "support/row_comparisons.h"
#include "support/window_controls.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QCursor>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
QStringList rowsOf(const ReportList* list) {
    return RowsOf(*list);
}

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}  // namespace

// The batch window driven as a user would, with the platform doubles.
class BatchWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void opensFreshAndLeavesTheMainWindowAsItWas_data();
    void opensFreshAndLeavesTheMainWindowAsItWas();
    void smallButtons();
    void addOneLongLine_data();
    void addOneLongLine();

    void loadsChosenFilesInDialogOrder();
    void oneUnreadableFileIsReportedUnderStep120();
    void cancelledDialogChangesNothing();
    void droppedFilesLoadInDropOrder();

    void runShowsProgressPerRow_data();
    void runShowsProgressPerRow();
    void runReplacesResultsAndKeepsEmptyPieces();
    void emptyInputListDoesNothing();
    void delimiterIsReadAfreshForEachRow();
    void inputEditsAreRefusedWhileRunning();
    void resultsClearActsWhileRunning();
    void secondStartWhileRunningIsIgnored();
    void failingAppendKeepsResultsAndTheProgram_data();
    void failingAppendKeepsResultsAndTheProgram();
    void leavingInTheMiddleOfARunStopsIt_data();
    void leavingInTheMiddleOfARunStopsIt();
    void reopeningWhileTheOldRunWaitsGivesANewWindow();
    void programEndInTheMiddleOfARunShowsNothing();
    void handlesMoreThanSixteenBitsOfRowsAndPieces();
    void deleteRemovesTheSelectedRowOfEitherList();
    void windowsKeepInsideTheScreenArea_data();
    void windowsKeepInsideTheScreenArea();

  private:
    BatchWindow* openBatch();  // a stand-alone batch window over `mainWindow`
    QString writeFile(const QString& name, const QByteArray& bytes);
    void addInputRows(const QStringList& rows);

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<QWidget> mainWindow;
    QPointer<BatchWindow> form;
    QTemporaryDir dir;
};

void BatchWindowTest::init() {
    fake = std::make_unique<FakePlatform>();
    mainWindow = std::make_unique<QWidget>();
    form = openBatch();
}

void BatchWindowTest::cleanup() {
    FaultInjection::disarmAll();
    delete form.data();
    mainWindow.reset();
    fake.reset();
}

BatchWindow* BatchWindowTest::openBatch() {
    auto* batch = new BatchWindow(fake->platform, mainWindow.get());
    batch->load();
    batch->show();
    return batch;
}

QString BatchWindowTest::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write the test file");
    }
    file.write(bytes);
    return path;
}

void BatchWindowTest::addInputRows(const QStringList& rows) {
    for (const QString& row : rows) {
        controls(*form).inputList->append(row);
    }
}

void BatchWindowTest::opensFreshAndLeavesTheMainWindowAsItWas_data() {
    QTest::addColumn<QString>("leaveBy");
    QTest::newRow("< Back") << "< Back";
    QTest::newRow("close button") << "close button";
    // Escape, pressed by habit, asks first; "Stay", its own answer, keeps the rows.
    QTest::newRow("Escape: Stay, then Leave") << "Escape";
}

void BatchWindowTest::opensFreshAndLeavesTheMainWindowAsItWas() {
    QFETCH(QString, leaveBy);
    QStringList expectedMessages;
    MainWindow main(fake->platform);
    main.load();
    main.show();
    controls(main).lineBox->setText(QStringLiteral("x;y"));
    controls(main).delimiterBox->setText(QStringLiteral(";"));
    controls(main).resultsList->append(QStringLiteral("kept"));

    for (int opening = 1; opening <= 2; ++opening) {
        QTest::mouseClick(controls(main).openBatchWindowButton, Qt::LeftButton);
        QPointer<BatchWindow> batch = main.batchWindow();
        QVERIFY(batch);
        QVERIFY(batch->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(batch->windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(controls(*batch).inputList->columnCount(), 1);
        QCOMPARE(controls(*batch).inputList->headerText(1), QStringLiteral(" Long Line(s)"));
        QCOMPARE(controls(*batch).resultsList->columnCount(), 1);
        QCOMPARE(controls(*batch).resultsList->headerText(1), QStringLiteral(" Output"));
        QCOMPARE(controls(*batch).inputList->count(), 0);
        QCOMPARE(controls(*batch).resultsList->count(), 0);
        QCOMPARE(controls(*batch).delimiterBox->text(), QStringLiteral(","));
        QCOMPARE(controls(*batch).progressBar->barText(), QStringLiteral("Progress Bar"));
        QCOMPARE(batch->size(), QSize(536, 599));
        QVERIFY(!(batch->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(batch->windowFlags() & Qt::WindowMinimizeButtonHint));

        QCOMPARE(controls(*batch).inputList->selectedRow(), std::nullopt);
        QCOMPARE(batch->pointerShape(), PointerShape::Default);
        QVERIFY(!batch->mousePointer().customImage());  // there is no hand pointer file

        QTest::mouseClick(controls(*batch).loadSampleButton, Qt::LeftButton);
        QTest::mouseClick(controls(*batch).startSplittingButton, Qt::LeftButton);
        QCOMPARE(controls(*batch).resultsList->count(), 7);
        // What this opening leaves behind must not reach the next one.
        controls(*batch).inputList->selectRow(RowNumber(1));
        controls(*batch).delimiterBox->setText(QStringLiteral("|"));
        batch->setPointerShape(PointerShape::Hourglass);
        batch->mousePointer().setCustomImage(QCursor(Qt::PointingHandCursor));

        expectedMessages << QStringLiteral("Done.");
        if (leaveBy == "close button") {
            QVERIFY(batch->close());
        } else if (leaveBy == "< Back") {
            QTest::mouseClick(controls(*batch).backButton, Qt::LeftButton);
        } else {
            batch->activateWindow();  // shortcuts take keys only in the active window
            QVERIFY(QTest::qWaitForWindowActive(batch));
            fake->messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
            QTest::keyClick(batch, Qt::Key_Escape);
            QCOMPARE(controls(*batch).resultsList->count(), 7);
            expectedMessages << QStringList(2, fake->messages.shown.back().text);
            QTest::keyClick(batch, Qt::Key_Escape);
        }
        QVERIFY(main.isVisible());
        QVERIFY(main.batchWindow() == nullptr);
        QVERIFY(!batch->isVisible());
        // A window kept for the next opening holds no rows meanwhile.
        QCOMPARE(controls(*batch).inputList->count(), 0);
        QCOMPARE(controls(*batch).resultsList->count(), 0);
        QCOMPARE(controls(main).lineBox->text(), QStringLiteral("x;y"));
        QCOMPARE(controls(main).delimiterBox->text(), QStringLiteral(";"));
        QCOMPARE(rowsOf(controls(main).resultsList), QStringList{"kept"});
        QVERIFY(!fake->pump.programEnding());
    }
    // "Done.", Escape's questions and nothing else: no "File not found" for the hand pointer.
    QCOMPARE(fake->messages.texts(), expectedMessages);
}

void BatchWindowTest::smallButtons() {
    QTest::mouseClick(controls(*form).loadSampleButton, Qt::LeftButton);
    QTest::mouseClick(controls(*form).loadSampleButton, Qt::LeftButton);
    QCOMPARE(controls(*form).inputList->count(), 2);
    QCOMPARE(controls(*form).inputList->text(RowNumber(1)),
             controls(*form).inputList->text(RowNumber(2)));
    QCOMPARE(controls(*form).inputList->text(RowNumber(1)).count(QLatin1Char(',')), 6);
    QCOMPARE(controls(*form).inputList->text(RowNumber(1)).count(QLatin1Char('@')), 7);
    QVERIFY(!controls(*form).inputList->text(RowNumber(1)).contains(QLatin1Char(' ')));

    QTest::mouseClick(controls(*form).featureNoteButton, Qt::LeftButton);
    QCOMPARE(fake->messages.texts(),
             QStringList{"You must load text files into the list. You can not load Word files "
                         "for example."});
    QCOMPARE(fake->messages.shown.back().icon, MessageIcon::None);
    QCOMPARE(fake->messages.shown.back().buttons, MessageButtons::Ok);

    fake->browser.succeeds = false;  // no browser: nothing is said
    QTest::mouseClick(controls(*form).helpButton, Qt::LeftButton);
    QCOMPARE(fake->browser.opened, QStringList{WebAddresses::kBatchHelpPage});
    QVERIFY(WebAddresses::kBatchHelpPage.startsWith(QStringLiteral("https://quorvane.example/")));
    QCOMPARE(fake->messages.shown.size(), size_t(1));
    QCOMPARE(controls(*form).inputList->count(), 2);
    QCOMPARE(controls(*form).delimiterBox->text(), QStringLiteral(","));
}

void BatchWindowTest::addOneLongLine_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("cancel or empty") << QString() << QStringList{};
    QTest::newRow("only spaces") << "   " << QStringList{"   "};
    QTest::newRow("holds the delimiter") << "a,b,c" << QStringList{"a,b,c"};
}

void BatchWindowTest::addOneLongLine() {
    QFETCH(QString, answer);
    QFETCH(QStringList, rows);
    fake->messages.lines.push_back(answer);
    QTest::mouseClick(controls(*form).addLineButton, Qt::LeftButton);
    QCOMPARE(fake->messages.asked.size(), size_t(1));
    QCOMPARE(fake->messages.asked.front().prompt, QStringLiteral("Enter Long Line: "));
    QCOMPARE(fake->messages.asked.front().defaultAnswer, QString());
    QCOMPARE(rowsOf(controls(*form).inputList), rows);
    QCOMPARE(controls(*form).resultsList->count(), 0);
}

void BatchWindowTest::loadsChosenFilesInDialogOrder() {
    writeFile("b.txt", "b1\r\nb2");
    writeFile("a.txt", "a1\na2\n");
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), dir.filePath("locked.txt")));
    controls(*form).inputList->append(QStringLiteral("earlier"));
    // The dialog answers with the files in the order the user picked them.
    QStringList picked;
    for (const char* name : {"b.txt", "gone.txt", "locked.txt", "a.txt"}) {
        picked << dir.filePath(name);
    }
    fake->fileDialogs.openAnswers.push_back(picked);
    fake->pointers.applied.clear();
    QTest::mouseClick(controls(*form).loadFilesButton, Qt::LeftButton);

    const FileDialogSettings& settings = fake->fileDialogs.opens.at(0);
    QCOMPARE(settings.title,
             QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"));
    QCOMPARE(settings.nameFilters, (QStringList{"Text Files (*.txt)", "All Files (*)"}));
    QCOMPARE(settings.fileName, QString());
    QVERIFY(settings.multipleSelection);

    QCOMPARE(rowsOf(controls(*form).inputList),
             (QStringList{"earlier", "b1", "b2", "a1", "a2", ""}));
    QCOMPARE(fake->messages.shown.size(), size_t(2));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("File not found"));
    QCOMPARE(fake->messages.shown[1].title, QStringLiteral("Application Error"));
    QVERIFY(fake->messages.shown[1].text.contains("Form2.PushButton4_Click at line 134"));
    // Hourglass from the dialog's answer to the last file, then the arrow.
    QCOMPARE(fake->pointers.applied.size(), size_t(2));
    QCOMPARE(fake->pointers.applied[0].shape, PointerShape::Hourglass);
    QCOMPARE(fake->pointers.applied[1].shape, PointerShape::Default);
}

void BatchWindowTest::oneUnreadableFileIsReportedUnderStep120() {
    fake->fileDialogs.openAnswers.push_back({QStringLiteral("/proc/self/mem")});
    QTest::mouseClick(controls(*form).loadFilesButton, Qt::LeftButton);
    QCOMPARE(fake->messages.shown.size(), size_t(1));
    QVERIFY(fake->messages.shown[0].text.contains("Form2.PushButton4_Click at line 120"));
    QCOMPARE(form->pointerShape(), PointerShape::Default);

    fake->fileDialogs.openAnswers.push_back({writeFile("one.txt", "x\r\ny\r\n")});
    QTest::mouseClick(controls(*form).loadFilesButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).inputList), (QStringList{"x", "y"}));
}

void BatchWindowTest::cancelledDialogChangesNothing() {
    fake->pointers.applied.clear();
    fake->fileDialogs.openAnswers.push_back({});
    QTest::mouseClick(controls(*form).loadFilesButton, Qt::LeftButton);
    QCOMPARE(fake->fileDialogs.opens.size(), size_t(1));
    QVERIFY(fake->pointers.applied.empty());
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(controls(*form).inputList->count(), 0);
}

void BatchWindowTest::droppedFilesLoadInDropOrder() {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(writeFile("2.txt", "two")),
                  QUrl::fromLocalFile(dir.filePath("missing.txt")),
                  QUrl::fromLocalFile(writeFile("1.txt", "one\r\nuno"))});
    QWidget* target = controls(*form).inputList->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(rowsOf(controls(*form).inputList), (QStringList{"two", "one", "uno"}));
    QCOMPARE(fake->messages.texts(), QStringList{"File not found"});
    QCOMPARE(form->pointerShape(), PointerShape::Default);

    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &refused);
    QVERIFY(!refused.isAccepted());
}

void BatchWindowTest::runShowsProgressPerRow_data() {
    QTest::addColumn<QStringList>("input");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("two rows") << QStringList{"a,b", "c"} << QList<int>{50, 100}
                              << QStringList{"Processing: a,b", "Processing: c"};
    QTest::newRow("three rows") << QStringList{"x", "y", "z"} << QList<int>{33, 66, 100}
                                << QStringList{"Processing: x", "Processing: y", "Processing: z"};
    QTest::newRow("path shows its name") << QStringList{R"(C:\data\list.txt)"} << QList<int>{100}
                                         << QStringList{"Processing: list.txt"};
}

void BatchWindowTest::runShowsProgressPerRow() {
    QFETCH(QStringList, input);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, texts);
    addInputRows(input);
    QList<int> seenValues;
    QStringList seenTexts;
    fake->pump.everyCall = [&](int) {
        seenValues << controls(*form).progressBar->value();
        seenTexts << controls(*form).progressBar->barText();
    };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(seenValues, values);
    QCOMPARE(seenTexts, texts);
    QCOMPARE(fake->pump.forcedCalls, input.size() == 1 ? 1 : 2);
    QCOMPARE(controls(*form).progressBar->value(), 0);
    QCOMPARE(controls(*form).progressBar->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(form->pointerShape(), PointerShape::Default);
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void BatchWindowTest::runReplacesResultsAndKeepsEmptyPieces() {
    controls(*form).resultsList->append(QStringLiteral("old"));
    addInputRows({"a,,b", "", ",", "c"});
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "", "b", "", "", "c"}));
    controls(*form).delimiterBox->setText(QString());
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a,,b", ",", "c"}));
}

void BatchWindowTest::emptyInputListDoesNothing() {
    controls(*form).resultsList->append(QStringLiteral("kept"));
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), QStringList{"kept"});
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(fake->pump.calls, 0);
}

void BatchWindowTest::delimiterIsReadAfreshForEachRow() {
    addInputRows({"a,b;c", "d,e;f"});
    fake->pump.at[2] = [&] { controls(*form).delimiterBox->setText(QStringLiteral(";")); };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "b;c", "d,e", "f"}));
}

void BatchWindowTest::inputEditsAreRefusedWhileRunning() {
    addInputRows({"a", "b", "c"});
    // The first yield comes before the hourglass shows; the rows are safe there too.
    const auto tryToTrim = [&] {
        controls(*form).inputList->selectRow(RowNumber(1));
        QTest::keyClick(controls(*form).inputList, Qt::Key_Delete);
        QTest::mouseClick(controls(*form).clearInputButton, Qt::LeftButton);
        if (controls(*form).resultsList->count() > 0) {
            controls(*form).resultsList->selectRow(RowNumber(1));
            QTest::keyClick(controls(*form).resultsList, Qt::Key_Delete);
        }
    };
    fake->pump.at[1] = tryToTrim;
    fake->pump.at[2] = tryToTrim;
    // Rows added during a run are not split, but count in the progress divisor.
    fake->pump.at[3] = [&] { controls(*form).inputList->append(QStringLiteral("late")); };
    QList<int> values;
    fake->pump.everyCall = [&](int) { values << controls(*form).progressBar->value(); };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).inputList), (QStringList{"a", "b", "c", "late"}));
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "b", "c"}));
    QCOMPARE(values, (QList<int>{33, 66, 100}));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void BatchWindowTest::resultsClearActsWhileRunning() {
    addInputRows({"a,b", "c,d", "e"});
    fake->pump.at[2] = [&] {
        QTest::mouseClick(controls(*form).clearResultsButton, Qt::LeftButton);
    };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"c", "d", "e"}));
    QCOMPARE(rowsOf(controls(*form).inputList), (QStringList{"a,b", "c,d", "e"}));
    // Undo gives the cleared rows back without losing the ones the run added after the clear.
    controls(*form).resultsTidying->undo();
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "b", "c", "d", "e"}));
    controls(*form).resultsTidying->redo();
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"c", "d", "e"}));
}

void BatchWindowTest::secondStartWhileRunningIsIgnored() {
    addInputRows({"a", "b"});
    fake->pump.at[2] = [&] {
        QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "b"}));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
    QCOMPARE(fake->pump.calls, 2);
}

void BatchWindowTest::failingAppendKeepsResultsAndTheProgram_data() {
    QTest::addColumn<bool>("outOfMemory");
    QTest::newRow("a failure") << false;
    // The results hold the memory: the report's box needs what was kept back for it.
    QTest::newRow("out of memory") << true;
}

void BatchWindowTest::failingAppendKeepsResultsAndTheProgram() {
    // The run has no guard; a failure (running out of memory) must still not end the program.
    QFETCH(bool, outOfMemory);
    addInputRows({"a,b", "c", "d"});
    outOfMemory ? FaultInjection::armOutOfMemory("list.append", 3)
                : FaultInjection::arm("list.append", 3, QStringLiteral("Out of memory"));
    MemoryReserve::take();
    std::optional<bool> reserveHeldWhileShown;
    fake->messages.whileShown = [&](const ShownMessage&) {
        reserveHeldWhileShown = reserveHeldWhileShown.value_or(MemoryReserve::held());
    };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "b"}));
    QCOMPARE(reserveHeldWhileShown, !outOfMemory);
    const QStringList texts = fake->messages.texts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0], QStringLiteral("Out of memory\r\nThe results so far are kept."));
    QCOMPARE(fake->messages.shown.front().icon, MessageIcon::Warning);
    QCOMPARE(texts[1], QStringLiteral("Done."));
    QCOMPARE(form->pointerShape(), PointerShape::Default);
    // The window still answers.
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "b", "c", "d"}));
}

void BatchWindowTest::leavingInTheMiddleOfARunStopsIt_data() {
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("< Back") << false;
    QTest::newRow("close button") << true;
}

void BatchWindowTest::leavingInTheMiddleOfARunStopsIt() {
    QFETCH(bool, byCloseButton);
    mainWindow->hide();
    addInputRows({"a,b", "c", "d"});
    QStringList resultsWhenLeft;
    fake->pump.at[2] = [&] {
        if (byCloseButton) {
            form->close();
        } else {
            QTest::mouseClick(controls(*form).backButton, Qt::LeftButton);
        }
        // Still there while its run is on the stack, however often events run meanwhile.
        processDeferredDeletes();
        QVERIFY(form);
        resultsWhenLeft = rowsOf(controls(*form).resultsList);
    };
    QPointer<BatchWindow> batch = form;
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(resultsWhenLeft, (QStringList{"a", "b"}));
    QVERIFY(fake->messages.shown.empty());
    QVERIFY(mainWindow->isVisible());
    QVERIFY(!fake->pump.programEnding());
    processDeferredDeletes();
    QVERIFY(batch);
    QVERIFY(!batch->isVisible());
    // Once the run has returned, the window lets go of its rows.
    QCOMPARE(controls(*batch).inputList->count(), 0);
    QCOMPARE(controls(*batch).resultsList->count(), 0);
}

void BatchWindowTest::reopeningWhileTheOldRunWaitsGivesANewWindow() {
    MainWindow main(fake->platform);
    main.load();
    main.show();
    QTest::mouseClick(controls(main).openBatchWindowButton, Qt::LeftButton);
    QPointer<BatchWindow> first = main.batchWindow();
    controls(*first).inputList->append(QStringLiteral("a,b"));
    controls(*first).inputList->append(QStringLiteral("c"));
    QPointer<BatchWindow> second;
    fake->pump.at[2] = [&] {
        QTest::mouseClick(controls(*first).backButton, Qt::LeftButton);
        QTest::mouseClick(controls(main).openBatchWindowButton, Qt::LeftButton);
        second = main.batchWindow();
    };
    QTest::mouseClick(controls(*first).startSplittingButton, Qt::LeftButton);

    // The run of the first window stopped and touched nothing of the second one.
    QVERIFY(second);
    QVERIFY(second != first);
    QVERIFY(second->isVisible());
    QCOMPARE(controls(*second).inputList->count(), 0);
    QCOMPARE(controls(*second).resultsList->count(), 0);
    QCOMPARE(controls(*second).delimiterBox->text(), QStringLiteral(","));
    QVERIFY(fake->messages.shown.empty());
    processDeferredDeletes();
    QVERIFY(first.isNull());

    // The second window is the one opened from then on.
    QTest::mouseClick(controls(*second).backButton, Qt::LeftButton);
    QTest::mouseClick(controls(main).openBatchWindowButton, Qt::LeftButton);
    QCOMPARE(main.batchWindow(), second.data());
    QCOMPARE(controls(*second).inputList->columnCount(), 1);
}

void BatchWindowTest::programEndInTheMiddleOfARunShowsNothing() {
    addInputRows({"a", "b", "c"});
    fake->pump.at[2] = [&] { fake->pump.endProgram(); };
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(rowsOf(controls(*form).resultsList), QStringList{"a"});
    QVERIFY(fake->messages.shown.empty());
}

void BatchWindowTest::handlesMoreThanSixteenBitsOfRowsAndPieces() {
    const int many = 40000;
    for (int i = 0; i < many; ++i) {
        controls(*form).inputList->append(QStringLiteral("r"));
    }
    controls(*form).inputList->append(QStringLiteral("p,").repeated(many) + QStringLiteral("end"));
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    QCOMPARE(controls(*form).resultsList->count(), qsizetype(many) * 2 + 1);
    QCOMPARE(controls(*form).resultsList->text(RowNumber(controls(*form).resultsList->count())),
             QStringLiteral("end"));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void BatchWindowTest::deleteRemovesTheSelectedRowOfEitherList() {
    addInputRows({"a", "b", "c"});
    QTest::mouseClick(controls(*form).startSplittingButton, Qt::LeftButton);
    for (ReportList* list : {controls(*form).inputList, controls(*form).resultsList}) {
        list->clearSelection();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 3);
        list->selectRow(RowNumber(2));
        QTest::keyClick(list, Qt::Key_Backspace);
        QCOMPARE(list->count(), 3);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(rowsOf(list), (QStringList{"a", "c"}));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->rowRect(RowNumber(1)).center());
        QCOMPARE(list->count(), 2);  // a double-click changes nothing
    }
    QTest::mouseClick(controls(*form).clearInputButton, Qt::LeftButton);
    QCOMPARE(controls(*form).inputList->count(), 0);
    QCOMPARE(rowsOf(controls(*form).resultsList), (QStringList{"a", "c"}));
    QCOMPARE(controls(*form).delimiterBox->text(), QStringLiteral(","));
}

void BatchWindowTest::windowsKeepInsideTheScreenArea_data() {
    QTest::addColumn<bool>("batch");
    QTest::addColumn<QRect>("area");
    // Too small: title bar off the area, controls moved or their tab order lost on the way.
    QTest::newRow("batch window, short area") << true << QRect(0, 20, 800, 480);
    QTest::newRow("main window, narrow, short") << false << QRect(10, 0, 400, 300);
    QTest::newRow("batch window fits: unchanged") << true << QRect(0, 0, 1280, 1000);
}

void BatchWindowTest::windowsKeepInsideTheScreenArea() {
    QFETCH(bool, batch);
    QFETCH(QRect, area);
    MainWindow main(fake->platform);
    QWidget* window = batch ? static_cast<QWidget*>(form.data()) : &main;
    const auto tabStops = [window] {
        QList<std::pair<QString, QRect>> stops;
        for (QWidget* at = window->nextInFocusChain(); at != window; at = at->nextInFocusChain()) {
            if ((at->focusPolicy() & Qt::TabFocus) != 0) {
                stops.append({at->objectName(), at->geometry()});
            }
        }
        return stops;
    };
    const QList<std::pair<QString, QRect>> before = tabStops();
    WindowFitting::showCentredIn(window, window->focusWidget(), area, QMargins(4, 30, 4, 4));
    QVERIFY(area.contains(QRect(window->pos(), window->size().grownBy(QMargins(4, 30, 4, 4)))));
    QCOMPARE(window->findChildren<QScrollArea*>().isEmpty(), area.height() >= 1000);
    QCOMPARE(tabStops(), before);
}

QTEST_MAIN(BatchWindowTest)
#include "test_batch_window.moc"
