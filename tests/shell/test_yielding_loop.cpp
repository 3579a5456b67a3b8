// The loop's stops that the scripted pump cannot show: it runs events at every call, while the
// real pump skips most calls.
#include "shell/yielding_loop.h"

#include <QTest>

namespace {
// Coalesces as the real pump does: a call that runs events lets the next 999 return at once.
class CoalescingPump : public EventPump {
  protected:
    void runPendingEvents(bool /*mustRun*/) override { skipCalls(1000); }
};
}  // namespace

class YieldingLoopTest : public QObject {
    Q_OBJECT
  private slots:
    void programEndStopsTheNextYield_data() {
        QTest::addColumn<bool>("endsBeforeTheLoop");
        QTest::newRow("a handler started after the main window closed") << true;
        QTest::newRow("ended between yields, as while a message box shows") << false;
    }
    void programEndStopsTheNextYield() {
        QFETCH(bool, endsBeforeTheLoop);
        CoalescingPump pump;
        if (endsBeforeTheLoop) {
            pump.endProgram();
        }
        YieldingLoop loop(pump);
        QCOMPARE(loop.mustStop(), endsBeforeTheLoop);
        loop.yield(true);
        pump.endProgram();
        QVERIFY(!loop.yield());
        QVERIFY(loop.mustStop());
    }
};

QTEST_APPLESS_MAIN(YieldingLoopTest)
#include "test_yielding_loop.moc"
