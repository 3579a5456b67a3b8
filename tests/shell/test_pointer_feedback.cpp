#include "batch_window/batch_window.h"
#include "main_window/main_window.h"
#include "support/fake_platform.h"
#include "widgets/line_box/line_box.h"
#include "widgets/report_list/report_list.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The hover rules of both windows, driven by real pointer moves, and the hand pointer loading
// of their load handlers. Rows name the window ("main" or "batch") and its controls by object
// name; "window" is the window's own area.
class PointerFeedbackTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();

    void hoverSetsTheShapeOfTheControlUnderThePointer_data();
    void hoverSetsTheShapeOfTheControlUnderThePointer();
    void hoverNeverReplacesTheHourglass_data();
    void hoverNeverReplacesTheHourglass();
    void hourglassStaysOverControlsDuringASplit_data();
    void hourglassStaysOverControlsDuringASplit();
    void handPointerFileDecidesTheCustomImage_data();
    void handPointerFileDecidesTheCustomImage();

  private:
    // Opens the row's window, loaded and shown.
    void open();
    void moveOver(const QString& name);

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<QWidget> window;
    WindowMousePointer* pointer = nullptr;
};

namespace {
const QStringList kMainButtons{"saveResultsButton",    "startSplittingButton", "clearResultsButton",
                               "helpButton",           "loadSampleButton",     "copyResultsButton",
                               "openBatchWindowButton"};
const QStringList kBatchButtons{"addLineButton",      "startSplittingButton", "saveResultsButton",
                                "loadFilesButton",    "backButton",           "clearInputButton",
                                "clearResultsButton", "copyResultsButton",    "featureNoteButton",
                                "helpButton",         "loadSampleButton",     "saveWorkbookButton"};

// A loaded window of the given kind, and its pointer.
std::unique_ptr<QWidget> loadWindow(const QString& which, Platform& platform,
                                    WindowMousePointer*& pointer) {
    if (which == QStringLiteral("main")) {
        auto main = std::make_unique<MainWindow>(platform);
        main->load();
        pointer = &main->mousePointer();
        return main;
    }
    auto batch = std::make_unique<BatchWindow>(platform, nullptr);
    batch->load();
    pointer = &batch->mousePointer();
    return batch;
}
}  // namespace

void PointerFeedbackTest::open() {
    QFETCH(QString, which);
    fake = std::make_unique<FakePlatform>();
    window = loadWindow(which, fake->platform, pointer);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    fake->messages.shown.clear();
}

void PointerFeedbackTest::cleanup() {
    window.reset();
    fake.reset();
}

void PointerFeedbackTest::moveOver(const QString& name) {
    if (name == QStringLiteral("window")) {
        QTest::mouseMove(window.get(), QPoint(3, 3));
        QCOMPARE(window->childAt(QPoint(3, 3)), nullptr);
        return;
    }
    auto* control = window->findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    if (auto* list = qobject_cast<QAbstractScrollArea*>(control)) {
        QTest::mouseMove(list->viewport(), list->viewport()->rect().center());
    } else if (qobject_cast<QGroupBox*>(control) != nullptr) {
        // A frame's own area is its caption row, above the text box it holds.
        QTest::mouseMove(control, QPoint(control->width() - 4, 4));
    } else {
        QTest::mouseMove(control, control->rect().center());
    }
}

void PointerFeedbackTest::hoverSetsTheShapeOfTheControlUnderThePointer_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("from");  // where the pointer was, with the shape it set
    QTest::addColumn<QString>("over");
    QTest::addColumn<PointerShape>("shape");
    const auto row = [](const char* which, const QString& from, const QString& over,
                        PointerShape shape) {
        QTest::addRow("%s: %s from %s", which, qPrintable(over), qPrintable(from))
            << QString::fromLatin1(which) << from << over << shape;
    };
    for (const QString& button : kMainButtons) {
        row("main", "resultsList", button, PointerShape::Custom);
    }
    for (const char* area :
         {"window", "lineFrame", "delimiterFrame", "lineBox", "delimiterBox", "resultsList"}) {
        row("main", "startSplittingButton", area, PointerShape::Default);
    }
    for (const QString& button : kBatchButtons) {
        row("batch", "resultsList", button, PointerShape::Custom);
    }
    for (const char* area : {"window", "delimiterFrame", "inputList", "resultsList"}) {
        row("batch", "addLineButton", area, PointerShape::Default);
    }
    // No rule over these: the last shape stays.
    row("main", "helpButton", "progressBar", PointerShape::Custom);
    row("main", "resultsList", "progressBar", PointerShape::Default);
    row("batch", "backButton", "delimiterBox", PointerShape::Custom);
    row("batch", "inputList", "delimiterBox", PointerShape::Default);
    row("batch", "saveWorkbookButton", "progressBar", PointerShape::Custom);
    row("batch", "window", "progressBar", PointerShape::Default);
}

void PointerFeedbackTest::hoverSetsTheShapeOfTheControlUnderThePointer() {
    QFETCH(QString, from);
    QFETCH(QString, over);
    QFETCH(PointerShape, shape);
    open();
    moveOver(from);
    const PointerShape before = pointer->value();
    const bool fromButton =
        qobject_cast<QPushButton*>(window->findChild<QWidget*>(from)) != nullptr;
    QCOMPARE(before, fromButton ? PointerShape::Custom : PointerShape::Default);
    fake->pointers.applied.clear();

    moveOver(over);

    QCOMPARE(pointer->value(), shape);
    // The shape was shown on this window, and only when it changed.
    if (shape != before) {
        QCOMPARE(fake->pointers.applied.size(), size_t(1));
        QCOMPARE(fake->pointers.applied.back().window, window.get());
        QCOMPARE(fake->pointers.applied.back().shape, shape);
    } else {
        QVERIFY(fake->pointers.applied.empty());
    }
}

void PointerFeedbackTest::hoverNeverReplacesTheHourglass_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("over");
    for (const char* name : {"saveResultsButton", "openBatchWindowButton", "window", "lineFrame",
                             "lineBox", "delimiterBox", "resultsList", "progressBar"}) {
        QTest::addRow("main: %s", name) << "main" << name;
    }
    for (const char* name : {"addLineButton", "saveWorkbookButton", "window", "delimiterFrame",
                             "delimiterBox", "inputList", "progressBar"}) {
        QTest::addRow("batch: %s", name) << "batch" << name;
    }
}

void PointerFeedbackTest::hoverNeverReplacesTheHourglass() {
    QFETCH(QString, over);
    open();
    moveOver(over == QStringLiteral("window") ? QStringLiteral("startSplittingButton")
                                              : QStringLiteral("window"));
    pointer->set(PointerShape::Hourglass);

    moveOver(over);

    QCOMPARE(pointer->value(), PointerShape::Hourglass);
}

void PointerFeedbackTest::hourglassStaysOverControlsDuringASplit_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("during");  // visited in turn, one at each yield
    QTest::addColumn<qsizetype>("pieces");
    QTest::newRow("main") << "main" << QStringList{"a,b,c,d"}
                          << QStringList{"saveResultsButton", "resultsList"} << qsizetype(4);
    QTest::newRow("batch") << "batch" << QStringList{"a,b", "c,d", "e", "f"}
                           << QStringList{"saveResultsButton", "resultsList", "inputList"}
                           << qsizetype(6);
}

void PointerFeedbackTest::hourglassStaysOverControlsDuringASplit() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, during);
    QFETCH(qsizetype, pieces);
    open();
    if (auto* box = window->findChild<LineBox*>(QStringLiteral("lineBox"))) {
        box->setText(lines.first());
    } else {
        for (const QString& line : lines) {
            window->findChild<ReportList*>(QStringLiteral("inputList"))->append(line);
        }
    }
    moveOver(QStringLiteral("window"));
    QList<PointerShape> seen;
    fake->pump.everyCall = [&](int call) {
        // The hourglass is set after the first yield.
        if (call > 1) {
            moveOver(during[(call - 2) % during.size()]);
            seen << pointer->value();
        }
    };

    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("startSplittingButton")),
                      Qt::LeftButton);
    fake->pump.everyCall = nullptr;

    QVERIFY2(seen.size() >= during.size(), "not every control was visited");
    QCOMPARE(seen, QList<PointerShape>(seen.size(), PointerShape::Hourglass));
    QCOMPARE(window->findChild<ReportList*>(QStringLiteral("resultsList"))->count(), pieces);
    // The split reset the shape; hovering switches again.
    QCOMPARE(pointer->value(), PointerShape::Default);
    moveOver(QStringLiteral("clearResultsButton"));
    QCOMPARE(pointer->value(), PointerShape::Custom);
}

void PointerFeedbackTest::handPointerFileDecidesTheCustomImage_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("handFile");  // "file", "folder" or "none"
    QTest::addColumn<bool>("loadFails");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("report");
    QTest::newRow("main: missing: no message, the arrow stands in")
        << "main"
        << "none" << false << false << "";
    QTest::newRow("main: a folder of that name counts as missing")
        << "main"
        << "folder" << false << false << "";
    QTest::newRow("main: present") << "main"
                                   << "file" << false << true << "";
    QTest::newRow("main: present but not a cursor")
        << "main"
        << "file" << true << false
        << "Invalid picture\r\nin Quorvane2021/08/31.Form1.Form_Load at line 106\r";
    QTest::newRow("batch: missing") << "batch"
                                    << "none" << false << false << "";
    QTest::newRow("batch: present") << "batch"
                                    << "file" << false << true << "";
    QTest::newRow("batch: present but not a cursor")
        << "batch"
        << "file" << true << false
        << "Invalid picture\r\nin Quorvane2021/08/31.Form2.Form_Load at line 106\r";
}

void PointerFeedbackTest::handPointerFileDecidesTheCustomImage() {
    QFETCH(QString, which);
    QFETCH(QString, handFile);
    QFETCH(bool, loadFails);
    QFETCH(bool, loaded);
    QFETCH(QString, report);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("HAND-M.CUR"));
    if (handFile == QStringLiteral("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("cursor bytes");
    } else if (handFile == QStringLiteral("folder")) {
        QVERIFY(QDir().mkpath(path));
    }
    FakePlatform own;
    own.programFolder.folder = folder.path();
    own.pointers.loadFails = loadFails;

    WindowMousePointer* ownPointer = nullptr;
    const std::unique_ptr<QWidget> ownWindow = loadWindow(which, own.platform, ownPointer);

    QCOMPARE(own.pointers.loaded.size(), handFile == QStringLiteral("file") ? 1 : 0);
    if (!own.pointers.loaded.isEmpty()) {
        QCOMPARE(own.pointers.loaded.front(), path);
    }
    QCOMPARE(ownPointer->customImage().has_value(), loaded);
    if (report.isEmpty()) {
        QVERIFY2(own.messages.shown.empty(), qPrintable(own.messages.texts().join('|')));
    } else {
        QCOMPARE(own.messages.shown.size(), size_t(1));
        QVERIFY2(own.messages.shown.front().text.startsWith(report),
                 qPrintable(own.messages.shown.front().text));
        // The window still loads.
        QCOMPARE(ownWindow->findChild<LineBox*>(QStringLiteral("delimiterBox"))->text(),
                 QStringLiteral(","));
    }
    // Over a button the window asks for its custom image; without one the arrow shows.
    ownPointer->set(PointerShape::Custom);
    QCOMPARE(own.pointers.applied.back().hasCustomImage, loaded);
}

QTEST_MAIN(PointerFeedbackTest)
#include "test_pointer_feedback.moc"
