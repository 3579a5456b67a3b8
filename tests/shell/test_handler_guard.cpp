#include "shell/application_title.h"
#include "shell/file_exists.h"
#include "shell/handler_guard.h"
#include "support/fake_platform.h"

#include <QTemporaryDir>
#include <QTest>

class HandlerGuardTest : public QObject {
    Q_OBJECT
  private slots:
    void reportTextIsExact();
    void reportIsAWarningWithItsOwnTitle();
    void failingStepCostsOneReportAndHandlerGoesOn();
    void failingConditionCountsAsTrue();
    void failingPassOfLoopCostsOneReportEach();
    void failureInCalledRoutineIsReportedUnderCallingStep();
    void anyExceptionIsReported();
    void applicationTitle_data();
    void applicationTitle();
    void fileExists();
};

void HandlerGuardTest::reportTextIsExact() {
    QCOMPARE(HandlerErrorReport::text("Overflow", "Form1.Pushbutton2_Click", 104),
             QStringLiteral("Overflow\r\nin Quorvane2021/08/31.Form1.Pushbutton2_Click at line "
                            "104\r\rPlease email screenshot of this message to "
                            "support@quorvane.example"));
}

void HandlerGuardTest::reportIsAWarningWithItsOwnTitle() {
    FakePlatform fake;
    fake.messages.setApplicationTitle("Quorvane");
    HandlerGuard on(fake.messages, "Form2.Form_Load");
    on.step(104, [] { throw Failure("File not found"); });
    QCOMPARE(fake.messages.shown.size(), size_t(1));
    const ShownMessage& report = fake.messages.shown.front();
    QCOMPARE(report.title, QStringLiteral("Application Error"));
    QCOMPARE(report.icon, MessageIcon::Warning);
    QCOMPARE(report.buttons, MessageButtons::Ok);
    QVERIFY(report.text.startsWith(
        "File not found\r\nin Quorvane2021/08/31.Form2.Form_Load at line 104\r\r"));
}

void HandlerGuardTest::failingStepCostsOneReportAndHandlerGoesOn() {
    FakePlatform fake;
    HandlerGuard on(fake.messages, "Form1.PushButton5_Click");
    QStringList ran;
    on.step(100, [&] {
        ran << "100 before";
        throw Failure("Bad");
        ran << "100 after";  // never reached: the rest of a failing step is abandoned
    });
    on.step(102, [&] { ran << "102"; });
    QCOMPARE(ran, (QStringList{"100 before", "102"}));
    QCOMPARE(on.failures(), 1);
    QVERIFY(fake.messages.shown.front().text.contains("at line 100\r"));
}

void HandlerGuardTest::failingConditionCountsAsTrue() {
    FakePlatform fake;
    HandlerGuard on(fake.messages, "Form1.Pushbutton2_Click");
    const bool held = on.test(100, []() -> bool { throw Failure("Bad"); });
    QVERIFY(held);
    QCOMPARE(fake.messages.shown.size(), size_t(1));
}

void HandlerGuardTest::failingPassOfLoopCostsOneReportEach() {
    FakePlatform fake;
    HandlerGuard on(fake.messages, "Form1.Pushbutton2_Click");
    QStringList rows;
    for (int i = 0; i < 5; ++i) {
        on.step(116, [&] {
            if (i % 2 == 1) {
                throw Failure("Row refused");
            }
            rows << QString::number(i);
        });
    }
    QCOMPARE(rows, (QStringList{"0", "2", "4"}));
    QCOMPARE(fake.messages.shown.size(), size_t(2));
}

void HandlerGuardTest::failureInCalledRoutineIsReportedUnderCallingStep() {
    FakePlatform fake;
    HandlerGuard on(fake.messages, "Form2.PushButton4_Click");
    auto routine = [](QStringList& done) {
        done << "first";
        throw Failure("Permission denied");
    };
    QStringList done;
    on.step(120, [&] { routine(done); });
    QCOMPARE(done, QStringList{"first"});
    QVERIFY(fake.messages.shown.front().text.contains(
        "in Quorvane2021/08/31.Form2.PushButton4_Click at line 120\r"));
}

void HandlerGuardTest::anyExceptionIsReported() {
    FakePlatform fake;
    HandlerGuard on(fake.messages, "Form1.Form_Load");
    on.step(128, [] { throw std::bad_alloc(); });
    on.step(130, [] { throw std::runtime_error("odd"); });
    QCOMPARE(fake.messages.texts().size(), 2);
    QVERIFY(fake.messages.texts()[0].startsWith("Out of memory\r\n"));
    QVERIFY(fake.messages.texts()[1].startsWith("odd\r\n"));
}

void HandlerGuardTest::applicationTitle_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::newRow("product name") << "Quorvane"
                                  << "Quorvane";
    QTest::newRow("exactly forty") << QString(40, 'x') << QString(40, 'x');
    QTest::newRow("cut at last space") << "A very long product name that goes on and on past forty"
                                       << "A very long product name that goes on";
    QTest::newRow("long word without space kept") << QString(45, 'y') << QString(45, 'y');
}

void HandlerGuardTest::applicationTitle() {
    QFETCH(QString, name);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitleFor(name), title);
}

void HandlerGuardTest::fileExists() {
    QTemporaryDir dir;
    const QString file = dir.filePath("present.txt");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QFile::setPermissions(file, QFileDevice::ReadOwner);  // read-only counts as present

    QVERIFY(FileExists(file));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(dir.filePath("missing.txt")));
    QVERIFY(!FileExists(dir.filePath("no-such-folder/file.txt")));
    QVERIFY(!FileExists(dir.path()));  // a folder is not a file
}

QTEST_APPLESS_MAIN(HandlerGuardTest)
#include "test_handler_guard.moc"
