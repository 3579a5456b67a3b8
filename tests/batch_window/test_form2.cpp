#include "batch_window/form2.h"
#include "main_window/form1.h"
#include "platform/controls/progress_bar.h"
#include "platform/fault_injection.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "shell/web_addresses.h"
#include "support/fake_platform.h"

#include <QCursor>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
QStringList rowsOf(const ReportList* list) {
    QStringList all;
    for (qsizetype r = 1; r <= list->count(); ++r) {
        all << list->text(r);
    }
    return all;
}

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}  // namespace

// The batch window driven as a user would, with the platform doubles.
class Form2Test : public QObject {
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
    void failingAppendKeepsResultsAndTheProgram();
    void leavingInTheMiddleOfARunStopsIt_data();
    void leavingInTheMiddleOfARunStopsIt();
    void reopeningWhileTheOldRunWaitsGivesANewWindow();
    void programEndInTheMiddleOfARunShowsNothing();
    void handlesMoreThanSixteenBitsOfRowsAndPieces();
    void deleteRemovesTheSelectedRowOfEitherList();

  private:
    Form2* openBatch();  // a stand-alone batch window over `mainWindow`
    QString writeFile(const QString& name, const QByteArray& bytes);
    void addInputRows(const QStringList& rows);

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<QWidget> mainWindow;
    QPointer<Form2> form;
    QTemporaryDir dir;
};

void Form2Test::init() {
    fake = std::make_unique<FakePlatform>();
    mainWindow = std::make_unique<QWidget>();
    form = openBatch();
}

void Form2Test::cleanup() {
    FaultInjection::disarmAll();
    delete form.data();
    mainWindow.reset();
    fake.reset();
}

Form2* Form2Test::openBatch() {
    auto* batch = new Form2(fake->platform, mainWindow.get());
    batch->Form_Load();
    batch->show();
    return batch;
}

QString Form2Test::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write the test file");
    }
    file.write(bytes);
    return path;
}

void Form2Test::addInputRows(const QStringList& rows) {
    for (const QString& row : rows) {
        form->ListView1->append(row);
    }
}

void Form2Test::opensFreshAndLeavesTheMainWindowAsItWas_data() {
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("< Back") << false;
    QTest::newRow("close button") << true;
}

void Form2Test::opensFreshAndLeavesTheMainWindowAsItWas() {
    QFETCH(bool, byCloseButton);
    Form1 main(fake->platform);
    main.Form_Load();
    main.show();
    main.Text1->setText(QStringLiteral("x;y"));
    main.Text2->setText(QStringLiteral(";"));
    main.ListView1->append(QStringLiteral("kept"));

    for (int opening = 1; opening <= 2; ++opening) {
        QTest::mouseClick(main.PushButton7, Qt::LeftButton);
        QPointer<Form2> batch = main.batchWindow();
        QVERIFY(batch);
        QVERIFY(batch->isVisible());
        QVERIFY(!main.isVisible());
        QCOMPARE(batch->windowTitle(), QStringLiteral("Quorvane"));
        QCOMPARE(batch->ListView1->columnCount(), 1);
        QCOMPARE(batch->ListView1->headerText(1), QStringLiteral(" Long Line(s)"));
        QCOMPARE(batch->ListView2->columnCount(), 1);
        QCOMPARE(batch->ListView2->headerText(1), QStringLiteral(" Output"));
        QCOMPARE(batch->ListView1->count(), 0);
        QCOMPARE(batch->ListView2->count(), 0);
        QCOMPARE(batch->Text2->text(), QStringLiteral(","));
        QCOMPARE(batch->ProgressBar1->barText(), QStringLiteral("Progress Bar"));
        QCOMPARE(batch->size(), QSize(536, 599));
        QVERIFY(!(batch->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(batch->windowFlags() & Qt::WindowMinimizeButtonHint));

        QCOMPARE(batch->ListView1->selectedRow(), 0);
        QCOMPARE(batch->MousePointer(), PointerShape::Default);
        QVERIFY(!batch->mousePointer().customImage());  // there is no hand pointer file

        QTest::mouseClick(batch->PushButton11, Qt::LeftButton);
        QTest::mouseClick(batch->PushButton2, Qt::LeftButton);
        QCOMPARE(batch->ListView2->count(), 7);
        // What this opening leaves behind must not reach the next one.
        batch->ListView1->selectRow(1);
        batch->Text2->setText(QStringLiteral("|"));
        batch->setMousePointer(PointerShape::Hourglass);
        batch->mousePointer().setCustomImage(QCursor(Qt::PointingHandCursor));

        if (byCloseButton) {
            QVERIFY(batch->close());
        } else {
            QTest::mouseClick(batch->PushButton5, Qt::LeftButton);
        }
        QVERIFY(main.isVisible());
        QVERIFY(main.batchWindow() == nullptr);
        QVERIFY(!batch->isVisible());
        // A window kept for the next opening holds no rows meanwhile.
        QCOMPARE(batch->ListView1->count(), 0);
        QCOMPARE(batch->ListView2->count(), 0);
        QCOMPARE(main.Text1->text(), QStringLiteral("x;y"));
        QCOMPARE(main.Text2->text(), QStringLiteral(";"));
        QCOMPARE(rowsOf(main.ListView1), QStringList{"kept"});
        QVERIFY(!fake->pump.programEnding());
    }
    // "Done." twice and nothing else: no "File not found" for the missing hand pointer.
    QCOMPARE(fake->messages.texts(), (QStringList{"Done.", "Done."}));
}

void Form2Test::smallButtons() {
    QTest::mouseClick(form->PushButton11, Qt::LeftButton);
    QTest::mouseClick(form->PushButton11, Qt::LeftButton);
    QCOMPARE(form->ListView1->count(), 2);
    QCOMPARE(form->ListView1->text(1), form->ListView1->text(2));
    QCOMPARE(form->ListView1->text(1).count(QLatin1Char(',')), 6);
    QCOMPARE(form->ListView1->text(1).count(QLatin1Char('@')), 7);
    QVERIFY(!form->ListView1->text(1).contains(QLatin1Char(' ')));

    QTest::mouseClick(form->PushButton9, Qt::LeftButton);
    QCOMPARE(fake->messages.texts(),
             QStringList{"You must load text files into the list. You can not load Word files "
                         "for example."});
    QCOMPARE(fake->messages.shown.back().icon, MessageIcon::None);
    QCOMPARE(fake->messages.shown.back().buttons, MessageButtons::Ok);

    fake->browser.succeeds = false;  // no browser: nothing is said
    QTest::mouseClick(form->PushButton10, Qt::LeftButton);
    QCOMPARE(fake->browser.opened, QStringList{WebAddresses::kBatchHelpPage});
    QVERIFY(WebAddresses::kBatchHelpPage.startsWith(QStringLiteral("https://quorvane.example/")));
    QCOMPARE(fake->messages.shown.size(), size_t(1));
    QCOMPARE(form->ListView1->count(), 2);
    QCOMPARE(form->Text2->text(), QStringLiteral(","));
}

void Form2Test::addOneLongLine_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("cancel or empty") << QString() << QStringList{};
    QTest::newRow("only spaces") << "   " << QStringList{"   "};
    QTest::newRow("holds the delimiter") << "a,b,c" << QStringList{"a,b,c"};
}

void Form2Test::addOneLongLine() {
    QFETCH(QString, answer);
    QFETCH(QStringList, rows);
    fake->messages.lines.push_back(answer);
    QTest::mouseClick(form->PushButton1, Qt::LeftButton);
    QCOMPARE(fake->messages.asked.size(), size_t(1));
    QCOMPARE(fake->messages.asked.front().prompt, QStringLiteral("Enter Long Line: "));
    QCOMPARE(fake->messages.asked.front().defaultAnswer, QString());
    QCOMPARE(rowsOf(form->ListView1), rows);
    QCOMPARE(form->ListView2->count(), 0);
}

void Form2Test::loadsChosenFilesInDialogOrder() {
    writeFile("b.txt", "b1\r\nb2");
    writeFile("a.txt", "a1\na2\n");
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), dir.filePath("locked.txt")));
    form->ListView1->append(QStringLiteral("earlier"));
    // The dialog answers with the folder and the names as the user picked them.
    fake->fileDialogs.answers.push_back(
        QStringList{dir.path(), "b.txt", "gone.txt", "locked.txt", "a.txt"}.join(QChar(u'\0')));
    fake->pointers.applied.clear();
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);

    const FileDialogSettings& settings = fake->fileDialogs.opens.at(0);
    QCOMPARE(settings.fileName, QString());
    QCOMPARE(settings.flags, 2621953);
    QCOMPARE(settings.title,
             QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"));
    QCOMPARE(settings.filter, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));

    QCOMPARE(rowsOf(form->ListView1), (QStringList{"earlier", "b1", "b2", "a1", "a2", ""}));
    QCOMPARE(fake->messages.shown.size(), size_t(2));
    QCOMPARE(fake->messages.shown[0].text, QStringLiteral("File not found"));
    QCOMPARE(fake->messages.shown[1].title, QStringLiteral("Application Error"));
    QVERIFY(fake->messages.shown[1].text.contains("Form2.PushButton4_Click at line 134"));
    // Hourglass from the dialog's answer to the last file, then the arrow.
    QCOMPARE(fake->pointers.applied.size(), size_t(2));
    QCOMPARE(fake->pointers.applied[0].shape, 11);
    QCOMPARE(fake->pointers.applied[1].shape, 0);
}

void Form2Test::oneUnreadableFileIsReportedUnderStep120() {
    fake->fileDialogs.answers.push_back(QStringLiteral("/proc/self/mem"));
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);
    QCOMPARE(fake->messages.shown.size(), size_t(1));
    QVERIFY(fake->messages.shown[0].text.contains("Form2.PushButton4_Click at line 120"));
    QCOMPARE(form->MousePointer(), 0);

    fake->fileDialogs.answers.push_back(writeFile("one.txt", "x\r\ny\r\n"));
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView1), (QStringList{"x", "y"}));
}

void Form2Test::cancelledDialogChangesNothing() {
    fake->pointers.applied.clear();
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);
    QCOMPARE(fake->fileDialogs.opens.size(), size_t(1));
    QVERIFY(fake->pointers.applied.empty());
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(form->ListView1->count(), 0);
}

void Form2Test::droppedFilesLoadInDropOrder() {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(writeFile("2.txt", "two")),
                  QUrl::fromLocalFile(dir.filePath("missing.txt")),
                  QUrl::fromLocalFile(writeFile("1.txt", "one\r\nuno"))});
    QWidget* target = form->ListView1->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(rowsOf(form->ListView1), (QStringList{"two", "one", "uno"}));
    QCOMPARE(fake->messages.texts(), QStringList{"File not found"});
    QCOMPARE(form->MousePointer(), 0);

    QMimeData text;
    text.setText(QStringLiteral("not a file"));
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &refused);
    QVERIFY(!refused.isAccepted());
}

void Form2Test::runShowsProgressPerRow_data() {
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

void Form2Test::runShowsProgressPerRow() {
    QFETCH(QStringList, input);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, texts);
    addInputRows(input);
    QList<int> seenValues;
    QStringList seenTexts;
    fake->pump.everyCall = [&](int) {
        seenValues << form->ProgressBar1->value();
        seenTexts << form->ProgressBar1->barText();
    };
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(seenValues, values);
    QCOMPARE(seenTexts, texts);
    QCOMPARE(fake->pump.forcedCalls, input.size() == 1 ? 1 : 2);
    QCOMPARE(form->ProgressBar1->value(), 0);
    QCOMPARE(form->ProgressBar1->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(form->MousePointer(), 0);
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void Form2Test::runReplacesResultsAndKeepsEmptyPieces() {
    form->ListView2->append(QStringLiteral("old"));
    addInputRows({"a,,b", "", ",", "c"});
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "", "b", "", "", "c"}));
    form->Text2->setText(QString());
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a,,b", ",", "c"}));
}

void Form2Test::emptyInputListDoesNothing() {
    form->ListView2->append(QStringLiteral("kept"));
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), QStringList{"kept"});
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(fake->pump.calls, 0);
}

void Form2Test::delimiterIsReadAfreshForEachRow() {
    addInputRows({"a,b;c", "d,e;f"});
    fake->pump.at[2] = [&] { form->Text2->setText(QStringLiteral(";")); };
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "b;c", "d,e", "f"}));
}

void Form2Test::inputEditsAreRefusedWhileRunning() {
    addInputRows({"a", "b", "c"});
    // The first yield comes before the hourglass shows; the rows are safe there too.
    const auto tryToTrim = [&] {
        form->ListView1->selectRow(1);
        QTest::keyClick(form->ListView1, Qt::Key_Delete);
        QTest::mouseClick(form->PushButton6, Qt::LeftButton);
        if (form->ListView2->count() > 0) {
            form->ListView2->selectRow(1);
            QTest::keyClick(form->ListView2, Qt::Key_Delete);
        }
    };
    fake->pump.at[1] = tryToTrim;
    fake->pump.at[2] = tryToTrim;
    // Rows added during a run are not split, but count in the progress divisor.
    fake->pump.at[3] = [&] { form->ListView1->append(QStringLiteral("late")); };
    QList<int> values;
    fake->pump.everyCall = [&](int) { values << form->ProgressBar1->value(); };
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView1), (QStringList{"a", "b", "c", "late"}));
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "b", "c"}));
    QCOMPARE(values, (QList<int>{33, 66, 100}));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void Form2Test::resultsClearActsWhileRunning() {
    addInputRows({"a,b", "c,d", "e"});
    fake->pump.at[2] = [&] { QTest::mouseClick(form->PushButton7, Qt::LeftButton); };
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"c", "d", "e"}));
    QCOMPARE(rowsOf(form->ListView1), (QStringList{"a,b", "c,d", "e"}));
}

void Form2Test::secondStartWhileRunningIsIgnored() {
    addInputRows({"a", "b"});
    fake->pump.at[2] = [&] { QTest::mouseClick(form->PushButton2, Qt::LeftButton); };
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "b"}));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
    QCOMPARE(fake->pump.calls, 2);
}

void Form2Test::failingAppendKeepsResultsAndTheProgram() {
    // The run has no guard; a failure (running out of memory) must still not end the program.
    addInputRows({"a,b", "c", "d"});
    FaultInjection::arm("list.append", 3, QStringLiteral("Out of memory"));
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "b"}));
    const QStringList texts = fake->messages.texts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0], QStringLiteral("Out of memory\r\nThe results so far are kept."));
    QCOMPARE(fake->messages.shown.front().icon, MessageIcon::Warning);
    QCOMPARE(texts[1], QStringLiteral("Done."));
    QCOMPARE(form->MousePointer(), PointerShape::Default);
    // The window still answers.
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "b", "c", "d"}));
}

void Form2Test::leavingInTheMiddleOfARunStopsIt_data() {
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("< Back") << false;
    QTest::newRow("close button") << true;
}

void Form2Test::leavingInTheMiddleOfARunStopsIt() {
    QFETCH(bool, byCloseButton);
    mainWindow->hide();
    addInputRows({"a,b", "c", "d"});
    QStringList resultsWhenLeft;
    fake->pump.at[2] = [&] {
        if (byCloseButton) {
            form->close();
        } else {
            QTest::mouseClick(form->PushButton5, Qt::LeftButton);
        }
        // Still there while its run is on the stack, however often events run meanwhile.
        processDeferredDeletes();
        QVERIFY(form);
        resultsWhenLeft = rowsOf(form->ListView2);
    };
    QPointer<Form2> batch = form;
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(resultsWhenLeft, (QStringList{"a", "b"}));
    QVERIFY(fake->messages.shown.empty());
    QVERIFY(mainWindow->isVisible());
    QVERIFY(!fake->pump.programEnding());
    processDeferredDeletes();
    QVERIFY(batch);
    QVERIFY(!batch->isVisible());
    // Once the run has returned, the window lets go of its rows.
    QCOMPARE(batch->ListView1->count(), 0);
    QCOMPARE(batch->ListView2->count(), 0);
}

void Form2Test::reopeningWhileTheOldRunWaitsGivesANewWindow() {
    Form1 main(fake->platform);
    main.Form_Load();
    main.show();
    QTest::mouseClick(main.PushButton7, Qt::LeftButton);
    QPointer<Form2> first = main.batchWindow();
    first->ListView1->append(QStringLiteral("a,b"));
    first->ListView1->append(QStringLiteral("c"));
    QPointer<Form2> second;
    fake->pump.at[2] = [&] {
        QTest::mouseClick(first->PushButton5, Qt::LeftButton);
        QTest::mouseClick(main.PushButton7, Qt::LeftButton);
        second = main.batchWindow();
    };
    QTest::mouseClick(first->PushButton2, Qt::LeftButton);

    // The run of the first window stopped and touched nothing of the second one.
    QVERIFY(second);
    QVERIFY(second != first);
    QVERIFY(second->isVisible());
    QCOMPARE(second->ListView1->count(), 0);
    QCOMPARE(second->ListView2->count(), 0);
    QCOMPARE(second->Text2->text(), QStringLiteral(","));
    QVERIFY(fake->messages.shown.empty());
    processDeferredDeletes();
    QVERIFY(first.isNull());

    // The second window is the one opened from then on.
    QTest::mouseClick(second->PushButton5, Qt::LeftButton);
    QTest::mouseClick(main.PushButton7, Qt::LeftButton);
    QCOMPARE(main.batchWindow(), second.data());
    QCOMPARE(second->ListView1->columnCount(), 1);
}

void Form2Test::programEndInTheMiddleOfARunShowsNothing() {
    addInputRows({"a", "b", "c"});
    fake->pump.at[2] = [&] { fake->pump.endProgram(); };
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(rowsOf(form->ListView2), QStringList{"a"});
    QVERIFY(fake->messages.shown.empty());
}

void Form2Test::handlesMoreThanSixteenBitsOfRowsAndPieces() {
    const int many = 40000;
    for (int i = 0; i < many; ++i) {
        form->ListView1->append(QStringLiteral("r"));
    }
    form->ListView1->append(QStringLiteral("p,").repeated(many) + QStringLiteral("end"));
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    QCOMPARE(form->ListView2->count(), qsizetype(many) * 2 + 1);
    QCOMPARE(form->ListView2->text(form->ListView2->count()), QStringLiteral("end"));
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
}

void Form2Test::deleteRemovesTheSelectedRowOfEitherList() {
    addInputRows({"a", "b", "c"});
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    for (ReportList* list : {form->ListView1, form->ListView2}) {
        list->clearSelection();
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 3);
        list->selectRow(2);
        QTest::keyClick(list, Qt::Key_Backspace);
        QCOMPARE(list->count(), 3);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(rowsOf(list), (QStringList{"a", "c"}));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(list->count(), 2);  // a double-click changes nothing
    }
    QTest::mouseClick(form->PushButton6, Qt::LeftButton);
    QCOMPARE(form->ListView1->count(), 0);
    QCOMPARE(rowsOf(form->ListView2), (QStringList{"a", "c"}));
    QCOMPARE(form->Text2->text(), QStringLiteral(","));
}

QTEST_MAIN(Form2Test)
#include "test_form2.moc"
