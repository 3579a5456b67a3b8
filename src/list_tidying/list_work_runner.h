#pragma once

#include "core/background_job.h"

#include <QObject>

#include <exception>
#include <functional>
#include <memory>

class EventPump;

// Work on a copy of a list's rows that the window takes once it has ended. The worker reads
// only its own members; the window reads them only after the end.
struct ListWork {
    virtual ~ListWork() = default;
    virtual void run(JobProgress& progress) = 0;
    std::exception_ptr failure;  // what `run` threw, or why no thread could run it
};

// Runs one piece of list work at a time: a short list's at once, a long list's as a
// BackgroundJob. The work comes back on the window's thread, but never in the middle of a
// loop (a save or a split reads the list by row number, and rows put in place meanwhile would
// mix two lists) and never once the program is ending.
class ListWorkRunner : public QObject {
    Q_OBJECT
  public:
    // Lists up to this size are worked on at once, without a thread, hourglass or progress.
    static constexpr qsizetype kRowsWorthAThread = 50'000;

    // `ended(work, inBackground)`: the work is done, failed or could not start; `inBackground`
    // says it ran as a job, whose hourglass and bar the window put up.
    using Ended = std::function<void(std::shared_ptr<ListWork> work, bool inBackground)>;

    ListWorkRunner(EventPump& pump, Ended ended, QObject* parent);
    ~ListWorkRunner() override;

    // A job is working, or has ended and waits for the window's loop to let go.
    bool working() const { return job_.running() || finishing_ != nullptr; }
    // Whether the work was started as a job; otherwise it has ended already.
    bool start(std::shared_ptr<ListWork> work, qsizetype rows);
    // Stops a job and waits for it; its work is dropped. Whether there was one.
    bool stop();

  signals:
    void progressed(int percent);

  private:
    void finish();

    EventPump& pump_;
    Ended ended_;
    BackgroundJob job_;
    std::shared_ptr<ListWork> work_;       // of the running job
    std::shared_ptr<ListWork> finishing_;  // ended, waiting for the window's loop to let go
};
