#include "core/failure.h"
#include "main_window/main_window.h"
#include "shell/guarded_application.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "widgets/report_list/report_list.h"

#include <QTest>

#include <new>
#include <stdexcept>

namespace {
class Thrower : public QObject {
  public:
    explicit Thrower(int kind) : kind_(kind) {}

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) {
            return QObject::event(event);
        }
        switch (kind_) {
            case 0:
                throw Failure(QStringLiteral("Index out of bounds"));
            case 1:
                throw std::bad_alloc();
            case 2:
                throw std::runtime_error("broken");
            default:
                throw 42;
        }
    }

  private:
    int kind_;
};
}  // namespace

// An exception that escapes a handler without a guard of its own: one report, and the program
// and the user's rows are still there.
class GuardedApplicationTest : public QObject {
    Q_OBJECT
  private slots:
    void escapedExceptionCostsOneReport_data();
    void escapedExceptionCostsOneReport();
};

void GuardedApplicationTest::escapedExceptionCostsOneReport_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("description");
    QTest::newRow("failure") << 0 << "Index out of bounds";
    QTest::newRow("out of memory") << 1 << "Out of memory";
    QTest::newRow("standard exception") << 2 << "broken";
    QTest::newRow("anything else") << 3 << "Unexpected error";
}

void GuardedApplicationTest::escapedExceptionCostsOneReport() {
    QFETCH(int, kind);
    QFETCH(QString, description);
    auto* app = static_cast<GuardedApplication*>(QCoreApplication::instance());
    FakePlatform fake;
    app->setMessages(&fake.messages);
    MainWindow window(fake.platform);
    window.load();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    controls(window).resultsList->append(QStringLiteral("kept"));

    // Events posted to a handler without a guard, as the event loop delivers them. (A click
    // would do the same, but unwinding through Qt's mouse handling leaks what it was holding,
    // which the sanitizer build rightly reports.)
    Thrower unguarded(kind);
    QCoreApplication::postEvent(&unguarded, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&unguarded, new QEvent(QEvent::User));  // and on it goes
    QCoreApplication::processEvents();
    app->setMessages(nullptr);

    QCOMPARE(fake.messages.shown.size(), size_t(2));
    QCOMPARE(fake.messages.shown[0].text, LastResortReport::text(description));
    QCOMPARE(fake.messages.shown[0].title, QStringLiteral("Application Error"));
    QCOMPARE(fake.messages.shown[0].icon, MessageIcon::Warning);
    QCOMPARE(controls(window).resultsList->count(), 1);
    QCOMPARE(controls(window).resultsList->text(RowNumber(1)), QStringLiteral("kept"));
}

// The application object must be the guarded one, so this test makes its own.
int main(int argc, char** argv) {
    GuardedApplication app(argc, argv);
    GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_guarded_application.moc"
