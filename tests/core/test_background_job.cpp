#include "core/background_job.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <stdexcept>

// The job's stop and failure paths: what a window relies on when it closes in the middle of a
// job, or when the work throws.
class BackgroundJobTest : public QObject {
    Q_OBJECT
  private slots:
    void endsAndReportsOnItsThread_data();
    void endsAndReportsOnItsThread();
    void stopAndWaitNeverReportsTheStoppedRun();
};

void BackgroundJobTest::endsAndReportsOnItsThread_data() {
    QTest::addColumn<bool>("throws");
    QTest::newRow("work returns") << false;
    QTest::newRow("work throws") << true;
}

void BackgroundJobTest::endsAndReportsOnItsThread() {
    QFETCH(bool, throws);
    BackgroundJob job;
    QSignalSpy finished(&job, &BackgroundJob::finished);
    QSignalSpy progressed(&job, &BackgroundJob::progressed);
    QVERIFY(job.start([throws](JobProgress& progress) {
        progress.setTotal(4);
        for (int done = 1; done <= 4; ++done) {
            progress.setDone(done);
        }
        if (throws) {
            throw std::runtime_error("no room");
        }
    }));
    QVERIFY(!job.start([](JobProgress&) {}));  // one at a time
    QVERIFY(job.running());
    QVERIFY(finished.wait(5000));
    QVERIFY(!job.running());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(progressed.count(), 4);  // 25, 50, 75, 100: each whole percentage once
    QCOMPARE(progressed.last().at(0).toInt(), 100);
    QCOMPARE(bool(job.failure()), throws);
    QVERIFY(job.start([](JobProgress&) {}));  // and the next may start
    QVERIFY(finished.wait(5000));
    QVERIFY(!job.failure());
}

void BackgroundJobTest::stopAndWaitNeverReportsTheStoppedRun() {
    BackgroundJob job;
    QSignalSpy finished(&job, &BackgroundJob::finished);
    std::atomic<bool> sawStop{false};
    QVERIFY(job.start([&](JobProgress& progress) {
        while (!progress.stopRequested()) {
            QThread::usleep(100);
        }
        sawStop = true;
    }));
    job.stopAndWait();
    QVERIFY(sawStop);
    QVERIFY(!job.running());
    // The stopped run's end is still in the queue; it must not pass for the next run's.
    QVERIFY(job.start([](JobProgress& progress) { progress.setDone(0); }));
    QVERIFY(finished.wait(5000));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
}

QTEST_MAIN(BackgroundJobTest)
#include "test_background_job.moc"
