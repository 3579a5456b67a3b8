// "Save Results As Text File" and "Copy Results To Clipboard" on both windows, clicked as a
// user clicks them.
#include "batch_window/batch_window.h"
#include "main_window/main_window.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kConfirmation = QStringLiteral(
    "Results have been copied to the clipboard.\r\rClick a text area where you normally type "
    "and press Ctrl+V to paste the clipboard.");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString reportLine(const QString& location, int step) {
    return QStringLiteral("\r\nin Quorvane2021/08/31.%1 at line %2\r\r").arg(location).arg(step);
}
}  // namespace

class TestOutputHandlers : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void saveDialogSettingsAndCancel_data();
    void saveDialogSettingsAndCancel();
    void saveWritesResultsUnderTheHourglass_data();
    void saveWritesResultsUnderTheHourglass();
    void saveFailureIsOneReportAndOldFileStays_data();
    void saveFailureIsOneReportAndOldFileStays();
    void closingTheWindowDuringSaveKeepsOldFile_data();
    void closingTheWindowDuringSaveKeepsOldFile();

    void mainCopyShowsProgressUntilConfirmed_data();
    void mainCopyShowsProgressUntilConfirmed();
    void mainCopyFailureIsNotConfirmedAndResets();
    void batchCopyIsSilent();
    void batchCopyFailureIsOneReport();

  private:
    bool batch() const;
    ReportList* results() const {
        return batch() ? controls(*batchWindow).resultsList : controls(*mainWindow).resultsList;
    }
    QPushButton* saveButton() const {
        return batch() ? controls(*batchWindow).saveResultsButton
                       : controls(*mainWindow).saveResultsButton;
    }
    PointerShape pointer() const {
        return batch() ? batchWindow->pointerShape() : mainWindow->pointerShape();
    }
    QWidget* window() const {
        return batch() ? static_cast<QWidget*>(batchWindow) : mainWindow.get();
    }
    QList<PointerShape> shapesApplied() const;
    void fill(const QStringList& rows) const;

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MainWindow> mainWindow;
    QPointer<BatchWindow> batchWindow;
    std::unique_ptr<QWidget> batchOwner;
    std::optional<QTemporaryDir> dir;
};

void TestOutputHandlers::init() {
    fake = std::make_unique<FakePlatform>();
    fake->messages.setApplicationTitle(QStringLiteral("Quorvane"));
    mainWindow = std::make_unique<MainWindow>(fake->platform);
    batchOwner = std::make_unique<QWidget>();
    batchWindow = new BatchWindow(fake->platform, batchOwner.get());
    dir.emplace();
}

void TestOutputHandlers::cleanup() {
    delete batchWindow.data();
    batchOwner.reset();
    mainWindow.reset();
    fake.reset();
}

bool TestOutputHandlers::batch() const {
    QFETCH(bool, batchWindow);
    return batchWindow;
}

QList<PointerShape> TestOutputHandlers::shapesApplied() const {
    QList<PointerShape> shapes;
    for (const FakePointerShapes::Applied& applied : fake->pointers.applied) {
        if (applied.window == window() && applied.shape != PointerShape::Custom) {
            shapes << applied.shape;
        }
    }
    return shapes;
}

void TestOutputHandlers::fill(const QStringList& rows) const {
    for (const QString& row : rows) {
        results()->append(row);
    }
}

void TestOutputHandlers::saveDialogSettingsAndCancel_data() {
    QTest::addColumn<bool>("batchWindow");
    QTest::addColumn<QList<PointerShape>>("shapes");
    // The main window shows the hourglass for a moment even after Cancel.
    QTest::newRow("main window") << false
                                 << QList<PointerShape>{PointerShape::Hourglass,
                                                        PointerShape::Default};
    QTest::newRow("batch window") << true << QList<PointerShape>{};
}
void TestOutputHandlers::saveDialogSettingsAndCancel() {
    QFETCH(QList<PointerShape>, shapes);
    fill({"a"});
    fake->fileDialogs.saveAnswers = {QString(), QString()};
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(saveButton(), Qt::LeftButton);
    }
    QCOMPARE(fake->fileDialogs.saves.size(), size_t{2});
    for (const FileDialogSettings& settings : fake->fileDialogs.saves) {
        QCOMPARE(settings.title, QStringLiteral("Save"));
        QCOMPARE(settings.nameFilters, (QStringList{"Text Files (*.txt)", "All Files (*)"}));
        QCOMPARE(settings.fileName, QString());
    }
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(shapesApplied(), shapes + shapes);
    QVERIFY(QDir(dir->path()).isEmpty());
}

void TestOutputHandlers::saveWritesResultsUnderTheHourglass_data() {
    QTest::addColumn<bool>("batchWindow");
    QTest::addColumn<bool>("fileExists");
    QTest::newRow("main window, new file") << false << false;
    QTest::newRow("main window, existing file, Yes") << false << true;
    QTest::newRow("batch window, new file") << true << false;
    QTest::newRow("batch window, existing file, Yes") << true << true;
}
void TestOutputHandlers::saveWritesResultsUnderTheHourglass() {
    QFETCH(bool, fileExists);
    fill({"a", "", "b"});
    const QString path = dir->filePath(QStringLiteral("results"));
    if (fileExists) {
        writeAll(path, QByteArray(100, 'o'));
    }
    fake->fileDialogs.saveAnswers = {path};
    if (fileExists) {
        fake->messages.answers = {MessageAnswer::Yes};
    }
    QList<PointerShape> pointerWhileSaving;
    fake->pump.everyCall = [&](int) { pointerWhileSaving << pointer(); };
    QTest::mouseClick(saveButton(), Qt::LeftButton);

    QCOMPARE(readAll(path), QByteArray("a\r\n\r\nb\r\n"));
    QCOMPARE(fake->messages.texts(),
             fileExists ? QStringList{"Are you sure you wish to overwrite " + path + " ?"}
                        : QStringList{});
    QCOMPARE(pointerWhileSaving, QList<PointerShape>(3, PointerShape::Hourglass));
    QCOMPARE(pointer(), PointerShape::Default);
    QCOMPARE(results()->count(), 3);  // the list is only read
}

void TestOutputHandlers::saveFailureIsOneReportAndOldFileStays_data() {
    QTest::addColumn<bool>("batchWindow");
    QTest::addColumn<bool>("rowRemoved");  // otherwise the folder does not exist
    QTest::newRow("main window, missing folder") << false << false;
    QTest::newRow("main window, row removed while saving") << false << true;
    QTest::newRow("batch window, missing folder") << true << false;
    QTest::newRow("batch window, row removed while saving") << true << true;
}
void TestOutputHandlers::saveFailureIsOneReportAndOldFileStays() {
    QFETCH(bool, rowRemoved);
    fill({"a", "b", "c"});
    QString path = dir->filePath(QStringLiteral("list.txt"));
    writeAll(path, "old");
    if (rowRemoved) {
        fake->messages.answers = {MessageAnswer::Yes};
        fake->pump.at[2] = [&] { results()->remove(RowNumber(1)); };
    } else {
        path = dir->filePath(QStringLiteral("gone/list.txt"));
    }
    fake->fileDialogs.saveAnswers = {path};
    QTest::mouseClick(saveButton(), Qt::LeftButton);

    const auto& shown = fake->messages.shown;
    QCOMPARE(shown.size(), size_t{rowRemoved ? 2u : 1u});  // the overwrite question first
    const ShownMessage& report = shown.back();
    QCOMPARE(report.icon, MessageIcon::Warning);
    QCOMPARE(report.title, QStringLiteral("Application Error"));
    const QString location = batch() ? QStringLiteral("Form2.PushButton3_Click")
                                     : QStringLiteral("Form1.PushButton1_Click");
    QVERIFY2(report.text.contains(reportLine(location, batch() ? 120 : 124)),
             qPrintable(report.text));
    QVERIFY2(report.text.startsWith(QStringLiteral("Could not save \"") + path),
             qPrintable(report.text));
    QCOMPARE(readAll(dir->filePath(QStringLiteral("list.txt"))), QByteArray("old"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
    QCOMPARE(pointer(), PointerShape::Default);
}

void TestOutputHandlers::closingTheWindowDuringSaveKeepsOldFile_data() {
    QTest::addColumn<bool>("batchWindow");
    QTest::newRow("main window: the program ends") << false;
    QTest::newRow("batch window unloads") << true;
}
void TestOutputHandlers::closingTheWindowDuringSaveKeepsOldFile() {
    fill({"a", "b", "c"});
    const QString path = dir->filePath(QStringLiteral("list.txt"));
    writeAll(path, "old");
    fake->fileDialogs.saveAnswers = {path};
    fake->messages.answers = {MessageAnswer::Yes};
    window()->show();
    fake->pump.at[2] = [&] { window()->close(); };
    QTest::mouseClick(saveButton(), Qt::LeftButton);
    if (batch()) {
        // The batch window stays until its handler returns: the save the user started is
        // completed rather than dropped with the window.
        QCOMPARE(fake->pump.calls, 3);
        QCOMPARE(readAll(path), QByteArray("a\r\nb\r\nc\r\n"));
    } else {
        // Closing the main window ends the program: nothing more is saved.
        QCOMPARE(fake->pump.calls, 2);
        QCOMPARE(readAll(path), QByteArray("old"));
    }
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.txt"});
}

void TestOutputHandlers::mainCopyShowsProgressUntilConfirmed_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<std::optional<QString>>("clipboard");
    QTest::newRow("results") << QStringList{"alpha", "", "beta  "}
                             << std::optional<QString>(QStringLiteral("alpha\r\n\r\nbeta\r\n"));
    QTest::newRow("empty list: confirmed, clipboard untouched")
        << QStringList{} << std::optional<QString>(QStringLiteral("before"));
}
void TestOutputHandlers::mainCopyShowsProgressUntilConfirmed() {
    QFETCH(QStringList, rows);
    QFETCH(std::optional<QString>, clipboard);
    for (const QString& row : rows) {
        controls(*mainWindow).resultsList->append(row);
    }
    fake->clipboard.text = QStringLiteral("before");
    controls(*mainWindow).progressBar->setValue(37);
    QString barWhileOpen;
    PointerShape pointerWhileOpen = PointerShape::Default;
    fake->messages.whileShown = [&](const ShownMessage&) {
        barWhileOpen = controls(*mainWindow).progressBar->barText();
        pointerWhileOpen = mainWindow->pointerShape();
    };
    QTest::mouseClick(controls(*mainWindow).copyResultsButton, Qt::LeftButton);

    QCOMPARE(fake->clipboard.text, clipboard);
    QCOMPARE(fake->messages.shown.size(), size_t{1});
    const ShownMessage& box = fake->messages.shown.front();
    QCOMPARE(box.text, kConfirmation);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.title, QStringLiteral("Quorvane"));
    QCOMPARE(barWhileOpen, QStringLiteral("Copying text to clipboard.. please wait.."));
    QCOMPARE(pointerWhileOpen, PointerShape::Hourglass);
    QCOMPARE(controls(*mainWindow).progressBar->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(controls(*mainWindow).progressBar->value(), 37);
    QCOMPARE(mainWindow->pointerShape(), PointerShape::Default);
}

void TestOutputHandlers::mainCopyFailureIsNotConfirmedAndResets() {
    controls(*mainWindow).resultsList->append("a");
    controls(*mainWindow).resultsList->append("b");
    fake->clipboard.text = QStringLiteral("before");
    fake->pump.at[1] = [&] { controls(*mainWindow).resultsList->remove(RowNumber(2)); };
    QTest::mouseClick(controls(*mainWindow).copyResultsButton, Qt::LeftButton);
    const QStringList texts = fake->messages.texts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts[0].contains(reportLine(QStringLiteral("Form1.PushButton6_Click"), 110)),
             qPrintable(texts[0]));
    QCOMPARE(*fake->clipboard.text, QStringLiteral("before"));
    QCOMPARE(controls(*mainWindow).progressBar->barText(), QStringLiteral("Progress Bar"));
    QCOMPARE(mainWindow->pointerShape(), PointerShape::Default);
}

void TestOutputHandlers::batchCopyIsSilent() {
    const QString barBefore = controls(*batchWindow).progressBar->barText();
    controls(*batchWindow).resultsList->append(QStringLiteral("x "));
    controls(*batchWindow).resultsList->append(QStringLiteral("y"));
    QTest::mouseClick(controls(*batchWindow).copyResultsButton, Qt::LeftButton);
    QCOMPARE(*fake->clipboard.text, QStringLiteral("x\r\ny\r\n"));
    QVERIFY(fake->messages.shown.empty());
    QCOMPARE(controls(*batchWindow).progressBar->barText(), barBefore);
    for (const FakePointerShapes::Applied& applied : fake->pointers.applied) {
        QVERIFY(applied.shape != PointerShape::Hourglass);
    }
}

void TestOutputHandlers::batchCopyFailureIsOneReport() {
    controls(*batchWindow).resultsList->append(QStringLiteral("x"));
    controls(*batchWindow).resultsList->append(QStringLiteral("y"));
    fake->clipboard.text = QStringLiteral("before");
    fake->pump.at[3] = [&] { controls(*batchWindow).resultsList->clear(); };
    QTest::mouseClick(controls(*batchWindow).copyResultsButton, Qt::LeftButton);
    const QStringList texts = fake->messages.texts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts[0].contains(reportLine(QStringLiteral("Form2.PushButton8_Click"), 106)),
             qPrintable(texts[0]));
    QCOMPARE(*fake->clipboard.text, QStringLiteral("before"));
}

QTEST_MAIN(TestOutputHandlers)
#include "test_output_handlers.moc"
