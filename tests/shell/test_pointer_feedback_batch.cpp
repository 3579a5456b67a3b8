#include "batch_window/batch_window.h"
#include "support/fake_platform.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

// The batch window's hover rules, driven by real pointer moves.
class BatchPointerFeedbackTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void hoverSetsTheShapeOfTheControlUnderThePointer_data();
    void hoverSetsTheShapeOfTheControlUnderThePointer();
    void hourglassStaysOverButtonsAndListsDuringASplit();

  private:
    void moveOver(const QString& name);

    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<BatchWindow> form;
};

namespace {
const QStringList kButtons{"PushButton1", "PushButton2",  "PushButton3",  "PushButton4",
                           "PushButton5", "PushButton6",  "PushButton7",  "PushButton8",
                           "PushButton9", "PushButton10", "PushButton11", "PushButton13"};
}

void BatchPointerFeedbackTest::init() {
    fake = std::make_unique<FakePlatform>();
    form = std::make_unique<BatchWindow>(fake->platform, nullptr);
    form->load();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    fake->messages.shown.clear();
}

void BatchPointerFeedbackTest::cleanup() {
    form.reset();
    fake.reset();
}

void BatchPointerFeedbackTest::moveOver(const QString& name) {
    if (name == QStringLiteral("window")) {
        QTest::mouseMove(form.get(), QPoint(3, 3));
        QCOMPARE(form->childAt(QPoint(3, 3)), nullptr);
        return;
    }
    if (name == QStringLiteral("Frame2")) {
        // Its own area is the caption row, above the delimiter box it holds.
        QTest::mouseMove(form->delimiterFrame, QPoint(form->delimiterFrame->width() - 4, 4));
        return;
    }
    const std::map<QString, QWidget*> controls{{"PushButton1", form->addLineButton},
                                               {"PushButton2", form->startSplittingButton},
                                               {"PushButton3", form->saveResultsButton},
                                               {"PushButton4", form->loadFilesButton},
                                               {"PushButton5", form->backButton},
                                               {"PushButton6", form->clearInputButton},
                                               {"PushButton7", form->clearResultsButton},
                                               {"PushButton8", form->copyResultsButton},
                                               {"PushButton9", form->featureNoteButton},
                                               {"PushButton10", form->helpButton},
                                               {"PushButton11", form->loadSampleButton},
                                               {"PushButton13", form->saveWorkbookButton},
                                               {"Text2", form->delimiterBox},
                                               {"ListView1", form->inputList->viewport()},
                                               {"ListView2", form->resultsList->viewport()},
                                               {"ProgressBar1", form->progressBar}};
    const auto found = controls.find(name);
    QVERIFY2(found != controls.end(), qPrintable(name));
    QTest::mouseMove(found->second, found->second->rect().center());
}

void BatchPointerFeedbackTest::hoverSetsTheShapeOfTheControlUnderThePointer_data() {
    QTest::addColumn<QString>("from");  // where the pointer was, with the shape it set
    QTest::addColumn<QString>("over");
    QTest::addColumn<int>("shape");
    for (const QString& button : kButtons) {
        QTest::newRow(qPrintable(button + " from a list")) << "ListView2" << button << 99;
    }
    for (const char* area : {"window", "Frame2", "ListView1", "ListView2"}) {
        QTest::newRow(qPrintable(QString::fromLatin1(area) + " from a button"))
            << "PushButton1" << area << 0;
    }
    // No rule over these: the last shape stays.
    QTest::newRow("delimiter box keeps the hand") << "PushButton5"
                                                  << "Text2" << 99;
    QTest::newRow("delimiter box keeps the arrow") << "ListView1"
                                                   << "Text2" << 0;
    QTest::newRow("progress bar keeps the hand") << "PushButton13"
                                                 << "ProgressBar1" << 99;
    QTest::newRow("progress bar keeps the arrow") << "window"
                                                  << "ProgressBar1" << 0;
}

void BatchPointerFeedbackTest::hoverSetsTheShapeOfTheControlUnderThePointer() {
    QFETCH(QString, from);
    QFETCH(QString, over);
    QFETCH(int, shape);
    moveOver(from);
    QCOMPARE(form->pointerShape(), from.startsWith(QStringLiteral("PushButton")) ? 99 : 0);

    moveOver(over);

    QCOMPARE(form->pointerShape(), shape);
}

void BatchPointerFeedbackTest::hourglassStaysOverButtonsAndListsDuringASplit() {
    form->inputList->append(QStringLiteral("a,b"));
    form->inputList->append(QStringLiteral("c,d"));
    form->inputList->append(QStringLiteral("e"));
    moveOver(QStringLiteral("window"));
    std::vector<int> during;
    int call = 0;
    fake->pump.everyCall = [&](int) {
        // The hourglass is set after the first yield.
        if (++call == 1) {
            return;
        }
        moveOver(call % 2 == 0 ? kButtons[call % kButtons.size()] : QStringLiteral("ListView2"));
        during.push_back(form->pointerShape());
    };

    QTest::mouseClick(form->startSplittingButton, Qt::LeftButton);
    fake->pump.everyCall = nullptr;

    QVERIFY(!during.empty());
    QCOMPARE(during, std::vector<int>(during.size(), int(PointerShape::Hourglass)));
    QCOMPARE(form->resultsList->count(), qsizetype(5));
    QCOMPARE(form->pointerShape(), 0);
    moveOver(QStringLiteral("PushButton8"));
    QCOMPARE(form->pointerShape(), 99);
}

QTEST_MAIN(BatchPointerFeedbackTest)
#include "test_pointer_feedback_batch.moc"
