#include "batch_window/batch_window.h"
#include "core/fault_injection.h"
#include "list_tidying/let_go_elsewhere.h"
#include "list_tidying/one_line_dialog.h"
#include "list_tidying/results_tidying.h"
#include "main_window/main_window.h"
#include "support/fake_platform.h"
#include "support/list_rows.h"
#include "support/row_comparisons.h"
#include "support/window_controls.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

namespace {
QStringList rowsOf(const ReportList* list) {
    return RowsOf(*list);
}

// Zero-padded, so that any collation puts them in the same order.
QString numbered(qsizetype n) {
    return QString::number(n).rightJustified(5, QLatin1Char('0'));
}

// Takes a while to free, as the places of a long list's sort do.
std::shared_ptr<void> slowToFree(std::shared_ptr<std::atomic<bool>> freed) {
    return std::shared_ptr<void>(nullptr, [freed](void*) {
        QThread::msleep(200);
        *freed = true;
    });
}

const QStringList kAllActions{"Clean Up\u2026",
                              "Copy Row",
                              "Copy As One Line\u2026",
                              "Trim Spaces",
                              "Remove Empty Rows",
                              "Remove Duplicate Rows",
                              "Remove Duplicate Rows (Ignore Case)",
                              "Sort A to Z",
                              "Sort Z to A",
                              "Undo"};
// What "Clean Up" offers the first time.
const QStringList kUsualCleanUp{"trimSpaces", "removeEmptyRows", "removeDuplicateRows",
                                "Keep Order"};
}  // namespace

// The results list's context menu on both windows, driven as a user would, with the platform
// doubles. What each computation makes of the rows is tested with the computations.
class ResultsTidyingTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void menuActionsAndTheirUndo_data();
    void menuActionsAndTheirUndo();
    void removalsAndClearsCanBeUndone_data();
    void removalsAndClearsCanBeUndone();
    void redoAndWhatEachChangeSays_data();
    void redoAndWhatEachChangeSays();
    void undoGoesBackTwentyStepsUntilASplit_data();
    void undoGoesBackTwentyStepsUntilASplit();
    void keysAndMenuWaitWhileBusy_data();
    void keysAndMenuWaitWhileBusy();
    void sortingALongList_data();
    void sortingALongList();
    void cleanUpRunsItsStepsInOrderAsOneUndoStep_data();
    void cleanUpRunsItsStepsInOrderAsOneUndoStep();
    void copyAsOneLineOffersTheSplitsDelimiter_data();
    void copyAsOneLineOffersTheSplitsDelimiter();
    void oneLineDialogKeepsTypedNamesAndNamesItsParts();

  private:
    static void addBothWindows();
    void open(const QString& window);
    void fill(const QStringList& rows, qsizetype selected);
    void fillCountingDown(qsizetype rows);  // selects the first row
    void trigger(const QString& caption);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The actions enabled while the menu is open; the menu is closed again afterwards.
    QStringList enabledInMenu();

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MainWindow> main;
    QPointer<BatchWindow> batch;
    ReportList* list = nullptr;
    ResultsTidying* tidying = nullptr;
    ProgressBar* bar = nullptr;
    WindowMousePointer* pointer = nullptr;
    QPushButton* clearButton = nullptr;
};

void ResultsTidyingTest::init() {
    fake = std::make_unique<FakePlatform>();
    QSettings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane")).clear();  // a first run
    main = std::make_unique<MainWindow>(fake->platform);
    main->load();
}

void ResultsTidyingTest::cleanup() {
    FaultInjection::disarmAll();
    delete batch.data();
    main.reset();
    fake.reset();
}

void ResultsTidyingTest::addBothWindows() {
    QTest::addColumn<QString>("window");
    QTest::newRow("main") << "main";
    QTest::newRow("batch") << "batch";
}

void ResultsTidyingTest::open(const QString& window) {
    QWidget* shown = main.get();
    if (window == QLatin1String("batch")) {
        batch = new BatchWindow(fake->platform, main.get());
        batch->load();
        shown = batch;
    }
    list = batch ? controls(*batch).resultsList : controls(*main).resultsList;
    tidying = batch ? controls(*batch).resultsTidying : controls(*main).resultsTidying;
    bar = batch ? controls(*batch).progressBar : controls(*main).progressBar;
    pointer = batch ? &batch->mousePointer() : &main->mousePointer();
    clearButton = batch ? controls(*batch).clearResultsButton : controls(*main).clearResultsButton;
    // The shortcuts take keys only in the active window, from the focused list.
    shown->show();
    shown->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown));
    list->setFocus();
    fake->messages.shown.clear();
}

void ResultsTidyingTest::fill(const QStringList& rows, qsizetype selected) {
    for (const QString& row : rows) {
        list->append(row);
    }
    if (selected > 0) {
        list->selectRow(RowNumber(selected));
    }
}

void ResultsTidyingTest::fillCountingDown(qsizetype rows) {
    for (qsizetype n = rows - 1; n >= 0; --n) {
        list->append(numbered(n));
    }
    list->selectRow(RowNumber(1));
}

void ResultsTidyingTest::trigger(const QString& caption) {
    for (QAction* action : tidying->menu()->actions()) {
        if (QString(action->text()).remove(QLatin1Char('&')) == caption) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no menu item ") + caption));
}

void ResultsTidyingTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(list, key, modifiers);
}

QStringList ResultsTidyingTest::enabledInMenu() {
    emit list->contextMenuRequested(list->mapToGlobal(QPoint(20, 20)));
    QMenu* menu = tidying->menu();
    QStringList enabled;
    if (!menu->isVisible()) {
        enabled << QStringLiteral("(the menu did not open)");
    }
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) {
            enabled << QString(action->text()).remove(QLatin1Char('&'));
        }
    }
    menu->close();
    return enabled;
}

void ResultsTidyingTest::menuActionsAndTheirUndo_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("after");  // the same as before: nothing to undo
    QTest::addColumn<int>("selectedAfter");
    const auto add = [](const char* name, const QString& action, const QStringList& before,
                        int selected, const QStringList& after, int selectedAfter) {
        for (const char* window : {"main", "batch"}) {
            QTest::addRow("%s: %s", window, name)
                << QString(window) << action << before << selected << after << selectedAfter;
        }
    };
    add("trim", "Trim Spaces", {" a ", "b", " c"}, 3, {"a", "b", "c"}, 3);
    add("empty rows, selection moves up", "Remove Empty Rows", {"a", "", "b", ""}, 3, {"a", "b"},
        2);
    add("empty rows, selected one goes", "Remove Empty Rows", {"a", "", "b"}, 2, {"a", "b"}, 0);
    add("duplicates, selected first kept", "Remove Duplicate Rows", {"pear", "fig", "pear"}, 1,
        {"pear", "fig"}, 1);
    add("duplicates, selected repeat goes", "Remove Duplicate Rows", {"pear", "fig", "pear"}, 3,
        {"pear", "fig"}, 0);
    add("A to Z, selection follows", "Sort A to Z", {"pear", "apple", "fig"}, 1,
        {"apple", "fig", "pear"}, 3);
    add("Z to A, nothing selected", "Sort Z to A", {"apple", "pear", "fig"}, 0,
        {"pear", "fig", "apple"}, 0);
    add("sorted already", "Sort A to Z", {"a", "b"}, 2, {"a", "b"}, 2);
    add("nothing to trim", "Trim Spaces", {"a", "b c"}, 1, {"a", "b c"}, 1);
    add("no duplicates", "Remove Duplicate Rows", {"a", "A"}, 1, {"a", "A"}, 1);
}

void ResultsTidyingTest::menuActionsAndTheirUndo() {
    QFETCH(QString, window);
    QFETCH(QString, action);
    QFETCH(QStringList, before);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    open(window);
    fill(before, selected);
    trigger(action);
    QCOMPARE(rowsOf(list), after);
    QCOMPARE(list->selectedRow(), RowOrNone(selectedAfter));
    QCOMPARE(tidying->canUndo(), after != before);
    QCOMPARE(enabledInMenu().contains("Undo"), after != before);
    trigger("Undo");
    QCOMPARE(rowsOf(list), before);
    QCOMPARE(list->selectedRow(), RowOrNone(selected));
    QVERIFY(!tidying->canUndo());
    QVERIFY(fake->messages.shown.empty());
}

void ResultsTidyingTest::removalsAndClearsCanBeUndone_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QStringList>("after");
    for (const char* window : {"main", "batch"}) {
        QTest::addRow("%s: Delete", window) << window << "Delete" << QStringList{"a", "c"};
        QTest::addRow("%s: clear", window) << window << "clear" << QStringList{};
    }
    // Only the main window's list drops a row on a double-click.
    QTest::newRow("main: double-click") << "main"
                                        << "double-click" << QStringList{"a", "c"};
}

void ResultsTidyingTest::removalsAndClearsCanBeUndone() {
    QFETCH(QString, window);
    QFETCH(QString, way);
    QFETCH(QStringList, after);
    open(window);
    fill({"a", "b", "c"}, 2);
    if (way == "Delete") {
        press(Qt::Key_Delete);
    } else if (way == "clear") {
        QTest::mouseClick(clearButton, Qt::LeftButton);
        list->setFocus();  // the button took it, as a click does
    } else {
        const QPoint second = list->rowRect(RowNumber(2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    }
    QCOMPARE(rowsOf(list), after);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowsOf(list), (QStringList{"a", "b", "c"}));
    QCOMPARE(list->selectedRow(), RowNumber(2));
    QVERIFY(!tidying->canUndo());
}

void ResultsTidyingTest::redoAndWhatEachChangeSays_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("steps");  // menu items, keys, or "clear"
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("note");
    const auto add = [](const char* window, const char* name, const QStringList& steps,
                        const QStringList& after, const QString& note) {
        QTest::addRow("%s: %s", window, name) << QString(window) << steps << after << note;
    };
    const QString dedupe = QStringLiteral("Remove Duplicate Rows");
    add("main", "duplicates", {dedupe}, {"pear", "fig"}, "1 duplicate row removed, 2 left");
    add("main", "no empty rows", {"Remove Empty Rows"}, {"pear", "fig", "pear"}, "No empty rows");
    add("main", "sort", {"Sort Z to A"}, {"pear", "pear", "fig"}, "Sorted 3 rows Z to A");
    add("main", "undo", {dedupe, "Undo"}, {"pear", "fig", "pear"}, "Undone: " + dedupe);
    add("main", "Ctrl+Y", {dedupe, "Undo", "Ctrl+Y"}, {"pear", "fig"}, "Redone: " + dedupe);
    add("main", "two redos after two undos",
        {dedupe, "Sort A to Z", "Undo", "Undo", "Ctrl+Shift+Z", "Redo"}, {"fig", "pear"},
        "Redone: Sort A to Z");
    add("main", "a redo too many", {dedupe, "Undo", "Redo", "Ctrl+Y"}, {"pear", "fig"},
        "Redone: " + dedupe);
    add("main", "a tidy ends the redo", {dedupe, "Undo", "Sort A to Z", "Redo"},
        {"fig", "pear", "pear"}, "Sorted 3 rows A to Z");
    for (const char* window : {"main", "batch"}) {
        add(window, "Delete ends the redo", {dedupe, "Undo", "Delete", "Redo"}, {"fig", "pear"},
            "1 row removed, 2 left");
        add(window, "clear, undone and redone", {"clear", "Undo", "Redo"}, {}, "Redone: Clear");
    }
}

void ResultsTidyingTest::redoAndWhatEachChangeSays() {
    QFETCH(QString, window);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, after);
    QFETCH(QString, note);
    open(window);
    fill({"pear", "fig", "pear"}, 1);
    for (const QString& step : steps) {
        if (step == "clear") {
            QTest::mouseClick(clearButton, Qt::LeftButton);
            list->setFocus();
        } else if (step.startsWith("Ctrl+") || step == "Delete") {
            QTest::keySequence(list, QKeySequence(step));
        } else {
            trigger(step);
        }
    }
    QCOMPARE(rowsOf(list), after);
    QCOMPARE(list->headerNote(), note);
    QVERIFY(fake->messages.shown.empty());
}

void ResultsTidyingTest::undoGoesBackTwentyStepsUntilASplit_data() {
    addBothWindows();
}

void ResultsTidyingTest::undoGoesBackTwentyStepsUntilASplit() {
    QFETCH(QString, window);
    open(window);
    QStringList all;
    for (int n = 1; n <= RowHistory::kSteps + 1; ++n) {
        all << QString::number(n);
    }
    fill(all, 0);
    for (int step = 0; step < RowHistory::kSteps + 1; ++step) {
        list->selectRow(RowNumber(1));
        press(Qt::Key_Delete);
    }
    for (int step = 1; step <= RowHistory::kSteps; ++step) {
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->count(), step);
    }
    // The list before the first deletion was the 21st step back: it is gone.
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowsOf(list), all.mid(1));

    press(Qt::Key_Delete);
    QVERIFY(tidying->canUndo());
    batch ? controls(*batch).inputList->append("x,y") : controls(*main).lineBox->setText("x,y");
    QTest::mouseClick(
        batch ? controls(*batch).startSplittingButton : controls(*main).startSplittingButton,
        Qt::LeftButton);
    QCOMPARE(fake->messages.texts(), QStringList{"Done."});
    const QStringList afterSplit = rowsOf(list);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowsOf(list), afterSplit);
}

void ResultsTidyingTest::keysAndMenuWaitWhileBusy_data() {
    addBothWindows();
}

void ResultsTidyingTest::keysAndMenuWaitWhileBusy() {
    QFETCH(QString, window);
    open(window);
    QCOMPARE(enabledInMenu(), QStringList{});  // no rows, no selection, no history
    fill({"b", "a", " c d "}, 3);
    press(Qt::Key_Delete);
    list->selectRow(RowNumber(1));
    QCOMPARE(enabledInMenu(), kAllActions);

    pointer->set(PointerShape::Hourglass);
    QCOMPARE(enabledInMenu(), QStringList{});
    for (const QString& caption : kAllActions) {
        trigger(caption);
    }
    press(Qt::Key_C, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowsOf(list), (QStringList{"b", "a"}));
    QVERIFY(!fake->clipboard.text);

    // The menu closed while busy must not leave the shortcuts dead.
    pointer->set(PointerShape::Default);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowsOf(list), (QStringList{"b", "a", " c d "}));
    QCOMPARE(list->selectedRow(), RowNumber(3));
    press(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(fake->clipboard.text.value_or("(never set)"), QStringLiteral(" c d "));
    fake->clipboard.text.reset();
    list->clearSelection();
    press(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(!fake->clipboard.text);
}

void ResultsTidyingTest::sortingALongList_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<qsizetype>("rows");
    QTest::addColumn<QString>("event");  // what else happens: a failure, or a closing
    constexpr qsizetype kLimit = ListWorkRunner::kRowsWorthAThread;
    constexpr qsizetype kLong = kLimit + 10'000;
    QTest::newRow("main: at the limit, at once") << "main" << kLimit << "none";
    QTest::newRow("main: one more, on a worker") << "main" << kLimit + 1 << "none";
    QTest::newRow("batch: on a worker") << "batch" << kLong << "none";
    for (const char* window : {"main", "batch"}) {
        QTest::addRow("%s: failing at once", window) << window << qsizetype(3) << "failure";
        QTest::addRow("%s: failing on a worker", window) << window << kLong << "failure";
        QTest::addRow("%s: program ends", window) << window << kLong << "program ends";
    }
    // The undo history's oldest step gives way to the sort that ran out of memory.
    QTest::newRow("main: out of memory at once") << "main" << qsizetype(3) << "out of memory";
    QTest::newRow("batch: out of memory on a worker") << "batch" << kLong << "out of memory";
    QTest::newRow("batch: < Back") << "batch" << kLong << "< Back";
    QTest::newRow("batch: close button") << "batch" << kLong << "close button";
    // The save reads the rows while the work ends: the new rows wait until the save is done.
    QTest::newRow("main: Save meanwhile") << "main" << kLong << "save";
    QTest::newRow("batch: Save meanwhile") << "batch" << kLong << "save";
    // Unlike the main window's, this "Clear List" acts while the list is busy.
    QTest::newRow("batch: Clear List") << "batch" << kLong << "Clear List";
}

void ResultsTidyingTest::sortingALongList() {
    QFETCH(QString, window);
    QFETCH(qsizetype, rows);
    QFETCH(QString, event);
    open(window);
    fillCountingDown(rows);
    QTemporaryDir savedFile;
    auto freed = std::make_shared<std::atomic<bool>>(false);
    if (event == "failure") {
        FaultInjection::arm("tidy.rows", 1);
    } else if (event == "out of memory") {
        tidying->rememberRows();
        FaultInjection::armOutOfMemory("tidy.rows", 1);
        // An earlier step let go of, still being freed: the sort must not try again before.
        LetGoElsewhere(slowToFree(freed));
    }
    const bool onAWorker = rows > ListWorkRunner::kRowsWorthAThread;
    QSignalSpy progress(bar, &ProgressBar::valueChanged);
    trigger("Sort A to Z");
    if (!onAWorker) {
        QCOMPARE(freed->load(), event == "out of memory");
    }

    // The action has returned; the list is untouched until its work has ended.
    QCOMPARE(tidying->working(), onAWorker);
    if (onAWorker) {
        QCOMPARE(pointer->value(), PointerShape::Hourglass);
        QCOMPARE(bar->barText(), QStringLiteral("Sort A to Z") + QChar(0x2026));
        QCOMPARE(list->text(RowNumber(1)), numbered(rows - 1));
        // A second action, an undo and a removal meanwhile are all refused.
        trigger("Sort Z to A");
        press(Qt::Key_Z, Qt::ControlModifier);
        press(Qt::Key_Delete);
        if (event == "program ends") {
            fake->pump.endProgram();
        } else if (event == "< Back") {
            QTest::mouseClick(controls(*batch).backButton, Qt::LeftButton);
        } else if (event == "close button") {
            batch->close();
        } else if (event == "Clear List") {
            QTest::mouseClick(clearButton, Qt::LeftButton);
        } else if (event == "save") {
            fake->fileDialogs.saveAnswers = {savedFile.filePath("rows.txt")};
            fake->pump.at[2] = [&] { QTest::qWait(300); };  // the job ends, its rows wait
            pointer->set(PointerShape::Default);            // as if the save had not started
            QTest::mouseClick(
                batch ? controls(*batch).saveResultsButton : controls(*main).saveResultsButton,
                Qt::LeftButton);
            QFile file(savedFile.filePath("rows.txt"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readLine(), (numbered(rows - 1) + "\r\n").toUtf8());
            file.seek(file.size() - 7);
            QCOMPARE(file.readAll(), (numbered(0) + "\r\n").toUtf8());
        }
        QTRY_VERIFY(!tidying->working());
    }
    QStringList messages;
    if (event == "failure") {
        messages << "\"Sort A to Z\" failed: Injected failure\r\nThe list is as it was.";
    } else if (event == "out of memory") {
        messages << "The oldest Undo steps were let go to leave memory for the list.";
    } else if (event == "Clear List") {
        messages << "The list changed while \"Sort A to Z\" was working, so it was left as it is.";
        QCOMPARE(list->count(), 0);
        list->setFocus();                       // the button took it
        press(Qt::Key_Z, Qt::ControlModifier);  // undoes the clear, the one step
    }
    QCOMPARE(fake->messages.texts(), messages);
    if (event == "< Back" || event == "close button") {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(batch && batch->unloaded());
        QCOMPARE(list->count(), 0);
        return;
    }
    const bool sorted = event == "none" || event == "save" || event == "out of memory";
    QCOMPARE(list->count(), rows);
    QCOMPARE(list->text(RowNumber(1)), numbered(sorted ? 0 : rows - 1));
    QCOMPARE(list->text(RowNumber(rows)), numbered(sorted ? rows - 1 : 0));
    QCOMPARE(list->selectedRow(), RowNumber(sorted ? rows : 1));
    QCOMPARE(tidying->canUndo(), sorted);  // the refused actions added no step
    if (event != "program ends") {
        QCOMPARE(pointer->value(), PointerShape::Default);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(bar->barText(), QStringLiteral("Progress Bar"));
    }
    if (sorted && onAWorker) {
        QVERIFY(progress.count() > 2);  // the bar moved while the work went on
    }
    if (sorted) {
        list->setFocus();  // a button may have taken it
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(list->text(RowNumber(1)), numbered(rows - 1));
        QCOMPARE(list->selectedRow(), RowNumber(1));
    }
}

void ResultsTidyingTest::cleanUpRunsItsStepsInOrderAsOneUndoStep_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("steps");  // the check boxes to have on, then the sort
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QString>("summary");
    // Duplicates looked for before trimming would keep " a" beside "a ".
    QTest::newRow("main: trim before the duplicates")
        << "main" << kUsualCleanUp << QStringList{" a", "", "a ", "b"} << 4 << QStringList{"a", "b"}
        << 2 << "Cleaned up: 2 rows removed, 2 left";
    // The case step and the sort chained, and a selection carried through both row maps.
    QTest::newRow("batch: ignore case, then sort")
        << "batch" << QStringList{"removeDuplicateRows", "ignoreCase", "A to Z"}
        << QStringList{"b", "B", "a", "A"} << 1 << QStringList{"a", "b"} << 2
        << "Cleaned up: 2 rows removed, 2 left, sorted A to Z";
    QTest::newRow("main: nothing to do") << "main" << kUsualCleanUp << QStringList{"a", "b"} << 2
                                         << QStringList{"a", "b"} << 2 << "Nothing to clean up";
}

// Opened by its key from outside the list; the choices come back the next time.
void ResultsTidyingTest::cleanUpRunsItsStepsInOrderAsOneUndoStep() {
    QFETCH(QString, window);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, before);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    QFETCH(QString, summary);
    open(window);
    fill(before, selected);
    QStringList shown;
    const auto checked = [&](QDialog& dialog) {
        QStringList on;
        for (const QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            if (box->isChecked()) {
                on << box->objectName();
            }
        }
        return on << dialog.findChild<QComboBox*>("sort")->currentText();
    };
    fake->messages.answerDialog = [&](QDialog& dialog) {
        shown = checked(dialog);
        for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
            box->setChecked(steps.contains(box->objectName()));
        }
        auto* sort = dialog.findChild<QComboBox*>("sort");
        sort->setCurrentIndex(sort->findText(steps.last()));
        return true;
    };
    QWidget* elsewhere =
        batch ? static_cast<QWidget*>(controls(*batch).delimiterBox) : controls(*main).lineBox;
    elsewhere->setFocus();
    QTest::keyClick(elsewhere, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown, kUsualCleanUp);
    QCOMPARE(rowsOf(list), after);
    QCOMPARE(list->selectedRow(), RowOrNone(selectedAfter));
    QCOMPARE(list->headerNote(), summary);
    QCOMPARE(tidying->canUndo(), after != before);
    list->setFocus();
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rowsOf(list), before);
    QVERIFY(!tidying->canUndo());

    fake->messages.answerDialog = [&](QDialog& dialog) {
        shown = checked(dialog);
        return false;
    };
    tidying->cleanUp();
    QCOMPARE(shown, steps);
}

void ResultsTidyingTest::copyAsOneLineOffersTheSplitsDelimiter_data() {
    addBothWindows();
}

// Each window must tell the menu the delimiter of its last split, not what its box holds now,
// and a separator chosen by its name must be copied as the character it names.
void ResultsTidyingTest::copyAsOneLineOffersTheSplitsDelimiter() {
    QFETCH(QString, window);
    open(window);
    batch ? controls(*batch).inputList->append("b;it's")
          : controls(*main).lineBox->setText("b;it's");
    LineBox* delimiterBox = batch ? controls(*batch).delimiterBox : controls(*main).delimiterBox;
    delimiterBox->setText(";");
    QTest::mouseClick(
        batch ? controls(*batch).startSplittingButton : controls(*main).startSplittingButton,
        Qt::LeftButton);
    delimiterBox->setText("-");
    QSignalSpy copied(tidying, &ResultsTidying::copiedAsOneLine);
    QString offeredFirst;
    fake->messages.answerDialog = [&](QDialog& dialog) {
        auto* separators = dialog.findChild<QComboBox*>("separatorBox");
        offeredFirst = separators->itemText(0);
        separators->setCurrentIndex(separators->findText("Line break"));
        dialog.findChild<QComboBox*>("quoteBox")->setCurrentIndex(1);  // 'single quotes'
        return true;                                                   // OK
    };
    trigger("Copy As One Line\u2026");
    QCOMPARE(offeredFirst, ";");
    QCOMPARE(fake->clipboard.text, std::optional<QString>("'b'\n'it''s'"));
    QCOMPARE(copied.count(), 1);
    QCOMPARE(copied[0], (QVariantList{qsizetype(2), qsizetype(11)}));

    // The user's choice comes first the next time, before the split's delimiter.
    int quoteOffered = -1;
    fake->messages.answerDialog = [&](QDialog& dialog) {
        offeredFirst = dialog.findChild<QComboBox*>("separatorBox")->itemText(0);
        quoteOffered = dialog.findChild<QComboBox*>("quoteBox")->currentIndex();
        return false;
    };
    press(Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(offeredFirst, "Line break");
    QCOMPARE(quoteOffered, 1);
}

// A typed "Tab" stays three letters, Return too; a screen reader hears the boxes' labels
// rather than their texts, and the length's figure.
void ResultsTidyingTest::oneLineDialogKeepsTypedNamesAndNamesItsParts() {
    RowStore rows;
    rows.append("a");
    rows.append("b");
    OneLineDialog dialog(rows, QString(), nullptr);
    QLineEdit* typed = dialog.findChild<QComboBox*>("separatorBox")->lineEdit();
    typed->clear();
    QTest::keyClicks(typed, "Tab");
    QTest::keyClick(typed, Qt::Key_Return);
    QCOMPARE(dialog.format().separator, "Tab");
    // Separators that look alike in a list are named, or their spaces drawn.
    for (const auto& [delimiter, name] :
         {std::pair{"; ", "Semicolon and space"}, std::pair{" | ", "\u00B7|\u00B7"}}) {
        OneLineDialog offering(rows, delimiter, nullptr);
        QCOMPARE(offering.findChild<QComboBox*>("separatorBox")->itemText(0), name);
    }
    const auto nameOf = [&](const char* control) {
        QWidget* widget = dialog.findChild<QWidget*>(control);
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QCOMPARE(nameOf("separatorBox"), "Between rows:");
    QCOMPARE(nameOf("quoteBox"), "Put each row in:");
    QCOMPARE(nameOf("length"), "Length: 5 characters");
}

QTEST_MAIN(ResultsTidyingTest)
#include "test_results_tidying.moc"
