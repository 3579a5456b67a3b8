#include "core/background_job.h"
#include "core/memory_release.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>

// The job's stop path: what a window relies on when it closes in the middle of a job. Its
// failures and progress are tried through the tidy actions (tests/list_tidying).
class BackgroundJobTest : public QObject {
    Q_OBJECT
  private slots:
    void stopAndWaitNeverReportsTheStoppedRun();
    void theReleaseThreadFreesAllBeforeTheProgramEnds();
};

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

// A free still going when the process ends runs into its end; one handed over after the
// thread ended must still be freed, not queued for nobody.
void BackgroundJobTest::theReleaseThreadFreesAllBeforeTheProgramEnds() {
    const auto slowToFree = [](std::shared_ptr<std::atomic<int>> freed) {
        return std::shared_ptr<void>(nullptr, [freed](void*) {
            QThread::msleep(100);
            ++*freed;
        });
    };
    auto freed = std::make_shared<std::atomic<int>>(0);
    MemoryRelease::release(slowToFree(freed));
    MemoryRelease::release(slowToFree(freed));
    MemoryRelease::finish();
    QCOMPARE(freed->load(), 2);
    MemoryRelease::release(slowToFree(freed));
    QCOMPARE(freed->load(), 3);
}

QTEST_MAIN(BackgroundJobTest)
#include "test_background_job.moc"
