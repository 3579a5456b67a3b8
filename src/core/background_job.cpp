#include "core/background_job.h"

void JobProgress::report() {
    const qint64 total = total_.load(std::memory_order_relaxed);
    if (total <= 0 || !percentChanged_) {
        return;
    }
    const int percent = static_cast<int>(done_.load(std::memory_order_relaxed) * 100 / total);
    if (percent_.exchange(percent, std::memory_order_relaxed) != percent) {
        percentChanged_(percent);
    }
}

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent) {}

BackgroundJob::~BackgroundJob() {
    stopAndWait();
}

bool BackgroundJob::start(Work work) {
    if (running_) {
        return false;
    }
    join();  // a worker that ended but whose report is still queued
    const quint64 run = ++run_;
    auto progress = std::make_shared<JobProgress>();
    // Reports go through this object's event queue, so they arrive on its thread; one that
    // arrives after a stopAndWait() or a newer start() belongs to a run nobody waits for.
    progress->onPercentChanged([this, run](int percent) {
        QMetaObject::invokeMethod(
            this,
            [this, run, percent] {
                if (run == run_ && running_) {
                    emit progressed(percent);
                }
            },
            Qt::QueuedConnection);
    });
    failure_ = nullptr;
    worker_ = std::thread([this, run, progress, work = std::move(work)] {
        std::exception_ptr failure;
        try {
            work(*progress);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this,
            [this, run, failure] {
                if (run != run_ || !running_) {
                    return;
                }
                join();
                failure_ = failure;
                running_ = false;
                progress_ = nullptr;
                emit finished();
            },
            Qt::QueuedConnection);
    });
    progress_ = std::move(progress);
    running_ = true;
    return true;
}

void BackgroundJob::requestStop() {
    if (progress_ != nullptr) {
        progress_->requestStop();
    }
}

void BackgroundJob::stopAndWait() {
    requestStop();
    join();
    running_ = false;
    progress_ = nullptr;
    ++run_;  // whatever the ended run left queued is ignored
}

void BackgroundJob::join() {
    if (worker_.joinable()) {
        worker_.join();
    }
}
