#include "batch_window/batch_window_lifecycle.h"

#include <QTest>

using Then = BatchWindowLifecycle::Then;
using State = BatchWindowLifecycle::State;

// The window's life as a sequence of events, each with what the window must do then.
class BatchWindowLifecycleTest : public QObject {
    Q_OBJECT
  private slots:
    void eventsLeadToTheRightActions_data();
    void eventsLeadToTheRightActions();
    void reopeningStartsANewOpeningWithoutASplit();
};

namespace {
// Events: h hide, d discard, s a handler starts, f it finishes. Each gives one action letter:
// '-' nothing, 'r' release the contents, 'x' delete the window.
QString play(BatchWindowLifecycle& life, const QString& events) {
    QString actions;
    const auto letter = [](Then then) {
        return then == Then::ReleaseContents ? u'r' : then == Then::Delete ? u'x' : u'-';
    };
    for (const QChar event : events) {
        switch (event.unicode()) {
            case u'h':
                actions += letter(life.hide());
                break;
            case u'd':
                actions += letter(life.discard());
                break;
            case u's':
                life.handlerStarted();
                actions += u'-';
                break;
            case u'f':
                actions += letter(life.handlerFinished());
                break;
        }
    }
    return actions;
}
}  // namespace

void BatchWindowLifecycleTest::eventsLeadToTheRightActions_data() {
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<State>("state");
    QTest::addColumn<bool>("canReopen");

    QTest::newRow("a handler runs and returns") << "sf"
                                                << "--" << State::Open << false;
    QTest::newRow("hidden while idle lets go at once") << "h"
                                                       << "r" << State::Hidden << true;
    QTest::newRow("hiding twice releases once") << "hh"
                                                << "r-" << State::Hidden << true;
    QTest::newRow("hidden mid-handler keeps its rows until it returns")
        << "shf"
        << "--r" << State::Hidden << true;
    QTest::newRow("nested handlers: the last one releases") << "sshff"
                                                            << "----r" << State::Hidden << true;
    QTest::newRow("hidden with a handler cannot reopen") << "sh"
                                                         << "--" << State::Hidden << false;
    QTest::newRow("discarded while idle goes at once") << "hd"
                                                       << "rx" << State::Discarded << false;
    QTest::newRow("discarded mid-handler goes when it returns")
        << "shdf"
        << "---x" << State::Discarded << false;
}

void BatchWindowLifecycleTest::eventsLeadToTheRightActions() {
    QFETCH(QString, events);
    QFETCH(QString, actions);
    QFETCH(State, state);
    QFETCH(bool, canReopen);
    BatchWindowLifecycle life;
    QCOMPARE(play(life, events), actions);
    QCOMPARE(life.state(), state);
    QCOMPARE(life.isOpen(), state == State::Open);
    QCOMPARE(life.canReopen(), canReopen);
}

void BatchWindowLifecycleTest::reopeningStartsANewOpeningWithoutASplit() {
    BatchWindowLifecycle life;
    life.splitStarted();
    QCOMPARE(play(life, QStringLiteral("h")), QStringLiteral("r"));
    QVERIFY(life.splitRunning());  // a split cut short by the hide still winds down itself
    const int before = life.opening();
    life.reopen();
    QVERIFY(life.isOpen());
    QVERIFY(!life.splitRunning());
    QCOMPARE(life.opening(), before + 1);  // work queued in the last opening is now stale
}

QTEST_MAIN(BatchWindowLifecycleTest)
#include "test_batch_window_lifecycle.moc"
