#include "main_window/main_window.h"
#include "support/fake_platform.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The hover rules of the main window, driven by real pointer moves, and the hand pointer
// loading of its load handler.
class PointerFeedbackTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void hoverSetsTheShapeOfTheControlUnderThePointer_data();
    void hoverSetsTheShapeOfTheControlUnderThePointer();
    void hoverNeverReplacesTheHourglass_data();
    void hoverNeverReplacesTheHourglass();
    void hourglassStaysOverAButtonDuringASplit();
    void handPointerFileDecidesTheCustomImage_data();
    void handPointerFileDecidesTheCustomImage();

  private:
    // The widget a user points at for a control (a list through its viewport).
    QWidget* control(const QString& name);
    void moveOver(const QString& name);

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<MainWindow> form;
};

void PointerFeedbackTest::init() {
    fake = std::make_unique<FakePlatform>();
    form = std::make_unique<MainWindow>(fake->platform);
    form->load();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    fake->messages.shown.clear();
}

void PointerFeedbackTest::cleanup() {
    form.reset();
    fake.reset();
}

QWidget* PointerFeedbackTest::control(const QString& name) {
    const std::map<QString, QWidget*> controls{{"PushButton1", form->saveResultsButton},
                                               {"PushButton2", form->startSplittingButton},
                                               {"PushButton3", form->clearResultsButton},
                                               {"PushButton4", form->helpButton},
                                               {"PushButton5", form->loadSampleButton},
                                               {"PushButton6", form->copyResultsButton},
                                               {"PushButton7", form->openBatchWindowButton},
                                               {"Frame1", form->lineFrame},
                                               {"Frame2", form->delimiterFrame},
                                               {"Text1", form->lineBox},
                                               {"Text2", form->delimiterBox},
                                               {"ListView1", form->resultsList->viewport()},
                                               {"ProgressBar1", form->progressBar}};
    const auto found = controls.find(name);
    return found == controls.end() ? nullptr : found->second;
}

void PointerFeedbackTest::moveOver(const QString& name) {
    if (name == QStringLiteral("window")) {
        QTest::mouseMove(form.get(), QPoint(3, 3));
        QCOMPARE(form->childAt(QPoint(3, 3)), nullptr);
        return;
    }
    QWidget* widget = control(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    // A frame's own area is its caption row, above the text box it holds.
    const QPoint point = name.startsWith(QStringLiteral("Frame")) ? QPoint(widget->width() - 4, 4)
                                                                  : widget->rect().center();
    QTest::mouseMove(widget, point);
}

void PointerFeedbackTest::hoverSetsTheShapeOfTheControlUnderThePointer_data() {
    QTest::addColumn<QString>("from");  // where the pointer was, with the shape it set
    QTest::addColumn<QString>("over");
    QTest::addColumn<int>("shape");
    for (int i = 1; i <= 7; ++i) {
        const QString button = QStringLiteral("PushButton%1").arg(i);
        QTest::newRow(qPrintable(button + " from the list")) << "ListView1" << button << 99;
    }
    for (const char* area : {"window", "Frame1", "Frame2", "Text1", "Text2", "ListView1"}) {
        QTest::newRow(qPrintable(QString::fromLatin1(area) + " from a button"))
            << "PushButton2" << area << 0;
    }
    QTest::newRow("progress bar keeps the hand") << "PushButton4"
                                                 << "ProgressBar1" << 99;
    QTest::newRow("progress bar keeps the arrow") << "ListView1"
                                                  << "ProgressBar1" << 0;
}

void PointerFeedbackTest::hoverSetsTheShapeOfTheControlUnderThePointer() {
    QFETCH(QString, from);
    QFETCH(QString, over);
    QFETCH(int, shape);
    moveOver(from);
    const int before = form->pointerShape();
    QCOMPARE(before, from.startsWith(QStringLiteral("PushButton")) ? 99 : 0);
    fake->pointers.applied.clear();

    moveOver(over);

    QCOMPARE(form->pointerShape(), shape);
    // The shape was shown on this window, and only when it changed.
    if (shape != before) {
        QCOMPARE(fake->pointers.applied.size(), size_t(1));
        QCOMPARE(fake->pointers.applied.back().window, form.get());
        QCOMPARE(fake->pointers.applied.back().shape, shape);
    } else {
        QVERIFY(fake->pointers.applied.empty());
    }
}

void PointerFeedbackTest::hoverNeverReplacesTheHourglass_data() {
    QTest::addColumn<QString>("over");
    for (const char* name : {"PushButton1", "PushButton7", "window", "Frame1", "Text1", "Text2",
                             "ListView1", "ProgressBar1"}) {
        QTest::newRow(name) << name;
    }
}

void PointerFeedbackTest::hoverNeverReplacesTheHourglass() {
    QFETCH(QString, over);
    moveOver(over == QStringLiteral("window") ? QStringLiteral("Text1") : QStringLiteral("window"));
    form->setPointerShape(PointerShape::Hourglass);

    moveOver(over);

    QCOMPARE(form->pointerShape(), int(PointerShape::Hourglass));
}

void PointerFeedbackTest::hourglassStaysOverAButtonDuringASplit() {
    form->lineBox->setText(QStringLiteral("a,b,c,d"));
    moveOver(QStringLiteral("ListView1"));
    std::vector<int> during;
    fake->pump.at[2] = [&] {
        moveOver(QStringLiteral("PushButton1"));
        during.push_back(form->pointerShape());
    };
    fake->pump.at[3] = [&] {
        moveOver(QStringLiteral("ListView1"));
        during.push_back(form->pointerShape());
    };

    QTest::mouseClick(form->startSplittingButton, Qt::LeftButton);

    QCOMPARE(during, (std::vector<int>{11, 11}));
    QCOMPARE(form->resultsList->count(), qsizetype(4));
    // The split reset the shape; hovering switches again.
    QCOMPARE(form->pointerShape(), 0);
    moveOver(QStringLiteral("PushButton3"));
    QCOMPARE(form->pointerShape(), 99);
}

void PointerFeedbackTest::handPointerFileDecidesTheCustomImage_data() {
    QTest::addColumn<QString>("handFile");  // "file", "folder" or "none"
    QTest::addColumn<bool>("loadFails");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("report");
    QTest::newRow("missing: no message, the arrow stands in") << "none" << false << false << "";
    QTest::newRow("a folder of that name counts as missing") << "folder" << false << false << "";
    QTest::newRow("present") << "file" << false << true << "";
    QTest::newRow("present but not a cursor")
        << "file" << true << false
        << "Invalid picture\r\nin Quorvane2021/08/31.Form1.Form_Load at line 106\r";
}

void PointerFeedbackTest::handPointerFileDecidesTheCustomImage() {
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
    MainWindow window(own.platform);

    window.load();

    QCOMPARE(own.pointers.loaded.size(), handFile == QStringLiteral("file") ? 1 : 0);
    if (!own.pointers.loaded.isEmpty()) {
        QCOMPARE(own.pointers.loaded.front(), path);
    }
    QCOMPARE(window.mousePointer().customImage().has_value(), loaded);
    if (report.isEmpty()) {
        QVERIFY2(own.messages.shown.empty(), qPrintable(own.messages.texts().join('|')));
    } else {
        QCOMPARE(own.messages.shown.size(), size_t(1));
        QVERIFY2(own.messages.shown.front().text.startsWith(report),
                 qPrintable(own.messages.shown.front().text));
        // The window still loads.
        QCOMPARE(window.delimiterBox->text(), QStringLiteral(","));
    }
    // Over a button the window asks for its custom image; without one the arrow shows.
    window.setPointerShape(PointerShape::Custom);
    QCOMPARE(own.pointers.applied.back().hasCustomImage, loaded);
}

QTEST_MAIN(PointerFeedbackTest)
#include "test_pointer_feedback.moc"
