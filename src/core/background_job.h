#pragma once

#include <QObject>

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

// What a job's work sees of its job: where it stands, and whether it should stop. The work
// sets the total once and raises `done` towards it; it looks at stopRequested() every few
// thousand items (every few milliseconds) and then returns early.
class JobProgress {
  public:
    void setTotal(qint64 total) {
        total_.store(total, std::memory_order_relaxed);
        report();
    }
    void setDone(qint64 done) {
        done_.store(done, std::memory_order_relaxed);
        report();
    }
    void addDone(qint64 items) {
        done_.fetch_add(items, std::memory_order_relaxed);
        report();
    }
    qint64 done() const { return done_.load(std::memory_order_relaxed); }
    qint64 total() const { return total_.load(std::memory_order_relaxed); }

    bool stopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }
    void requestStop() { stopRequested_.store(true, std::memory_order_relaxed); }

    // Called from the working thread each time the whole percentage changes.
    void onPercentChanged(std::function<void(int)> percentChanged) {
        percentChanged_ = std::move(percentChanged);
    }

  private:
    void report();

    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    std::atomic<int> percent_{0};
    std::atomic<bool> stopRequested_{false};
    std::function<void(int)> percentChanged_;
};

// Runs one piece of work at a time on a thread of its own, so that the window's thread only
// starts it and later hears of it: its progress and its end arrive as signals on the thread
// the job lives on, through its event queue. Nothing waits for the work in a nested event
// loop. The work must not touch widgets or anything the window changes meanwhile; it gets
// copies of what it reads (a RowStore copy costs a pointer per block) and leaves its result
// where the window takes it from after `finished`.
//
// A window that lets go of what a job reads first calls stopAndWait(): the work sees the stop
// within milliseconds, and the job's end is then never reported. The destructor does the
// same, so a job never outlives its window.
class BackgroundJob : public QObject {
    Q_OBJECT
  public:
    using Work = std::function<void(JobProgress&)>;

    explicit BackgroundJob(QObject* parent = nullptr);
    ~BackgroundJob() override;

    // Starts the work; false when a job is still running (its end not yet reported). Throws
    // std::system_error when no thread can be made, and then the work does not run.
    bool start(Work work);
    // From start() until `finished` has been delivered.
    bool running() const { return running_; }
    // Asks the work to stop and returns at once; `finished` still follows.
    void requestStop();
    // Asks the work to stop and waits for it; `finished` is not sent for it.
    void stopAndWait();

    // What the work threw, if it did; valid in and after `finished`.
    std::exception_ptr failure() const { return failure_; }

  signals:
    void progressed(int percent);
    // The work has returned (or thrown); its results are the caller's to take now.
    void finished();

  private:
    void join();

    std::thread worker_;
    std::shared_ptr<JobProgress> progress_;  // shared with the running worker
    std::exception_ptr failure_;
    quint64 run_ = 0;  // a report of an earlier run, still queued, is ignored
    bool running_ = false;
};
