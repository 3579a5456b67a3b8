#include "core/memory_release.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

class Releaser {
    using Held = MemoryRelease::Held;

  public:
    ~Releaser() { finish(); }

    void handOver(std::unique_ptr<Held>& held) {
        std::unique_lock lock(mutex_);
        if (ended_) {
            return;  // the caller frees it
        }
        try {
            if (!thread_.joinable()) {
                thread_ = std::thread([this] { run(); });
                qAddPostRoutine(&MemoryRelease::finish);
            }
            queue_.push_back(std::move(held));
        } catch (const std::system_error&) {
            return;
        } catch (const std::bad_alloc&) {
            return;
        }
        ++handedOver_;
        wake_.notify_one();
    }

    void waitUntilGone() {
        std::unique_lock lock(mutex_);
        const quint64 waitedFor = handedOver_;
        gone_.wait(lock, [&] { return freed_ >= waitedFor; });
    }

    void finish() {
        {
            const std::lock_guard lock(mutex_);
            if (ended_) {
                return;
            }
            ended_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable()) {
            thread_.join();
        }
    }

  private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [&] { return !queue_.empty() || ended_; });
            if (queue_.empty()) {
                return;  // ended, and everything is freed
            }
            std::unique_ptr<Held> next = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            next.reset();
            lock.lock();
            ++freed_;
            gone_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable gone_;
    std::deque<std::unique_ptr<Held>> queue_;
    quint64 handedOver_ = 0;
    quint64 freed_ = 0;
    bool ended_ = false;
    std::thread thread_;
};

Releaser& releaser() {
    static Releaser instance;
    return instance;
}

}  // namespace

namespace MemoryRelease {

void handOver(std::unique_ptr<Held> held) {
    releaser().handOver(held);
}

void waitUntilGone() {
    releaser().waitUntilGone();
}

void finish() {
    releaser().finish();
}

}  // namespace MemoryRelease
