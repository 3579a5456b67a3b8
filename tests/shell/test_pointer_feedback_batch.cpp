#include "batch_window/form2.h"
#include "platform/controls/progress_bar.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "support/fake_platform.h"

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
    std::unique_ptr<Form2> form;
};

namespace {
const QStringList kButtons{"PushButton1", "PushButton2",  "PushButton3",  "PushButton4",
                           "PushButton5", "PushButton6",  "PushButton7",  "PushButton8",
                           "PushButton9", "PushButton10", "PushButton11", "PushButton13"};
}

void BatchPointerFeedbackTest::init() {
    fake = std::make_unique<FakePlatform>();
    form = std::make_unique<Form2>(fake->platform, nullptr);
    form->Form_Load();
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
        QTest::mouseMove(form->Frame2, QPoint(form->Frame2->width() - 4, 4));
        return;
    }
    const std::map<QString, QWidget*> controls{{"PushButton1", form->PushButton1},
                                               {"PushButton2", form->PushButton2},
                                               {"PushButton3", form->PushButton3},
                                               {"PushButton4", form->PushButton4},
                                               {"PushButton5", form->PushButton5},
                                               {"PushButton6", form->PushButton6},
                                               {"PushButton7", form->PushButton7},
                                               {"PushButton8", form->PushButton8},
                                               {"PushButton9", form->PushButton9},
                                               {"PushButton10", form->PushButton10},
                                               {"PushButton11", form->PushButton11},
                                               {"PushButton13", form->PushButton13},
                                               {"Text2", form->Text2},
                                               {"ListView1", form->ListView1->viewport()},
                                               {"ListView2", form->ListView2->viewport()},
                                               {"ProgressBar1", form->ProgressBar1}};
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
    QCOMPARE(form->MousePointer(), from.startsWith(QStringLiteral("PushButton")) ? 99 : 0);

    moveOver(over);

    QCOMPARE(form->MousePointer(), shape);
}

void BatchPointerFeedbackTest::hourglassStaysOverButtonsAndListsDuringASplit() {
    form->ListView1->append(QStringLiteral("a,b"));
    form->ListView1->append(QStringLiteral("c,d"));
    form->ListView1->append(QStringLiteral("e"));
    moveOver(QStringLiteral("window"));
    std::vector<int> during;
    int call = 0;
    fake->pump.everyCall = [&](int) {
        // The hourglass is set after the first yield.
        if (++call == 1) {
            return;
        }
        moveOver(call % 2 == 0 ? kButtons[call % kButtons.size()] : QStringLiteral("ListView2"));
        during.push_back(form->MousePointer());
    };

    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    fake->pump.everyCall = nullptr;

    QVERIFY(!during.empty());
    QCOMPARE(during, std::vector<int>(during.size(), int(PointerShape::Hourglass)));
    QCOMPARE(form->ListView2->count(), qsizetype(5));
    QCOMPARE(form->MousePointer(), 0);
    moveOver(QStringLiteral("PushButton8"));
    QCOMPARE(form->MousePointer(), 99);
}

QTEST_MAIN(BatchPointerFeedbackTest)
#include "test_pointer_feedback_batch.moc"
