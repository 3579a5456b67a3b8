#include "list_tidying/list_work_runner.h"

#include "platform/event_pump.h"

#include <QTimer>

namespace {
// How often an ended job looks again whether the window's loop has let go.
constexpr int kRetryMs = 20;
}  // namespace

ListWorkRunner::ListWorkRunner(EventPump& pump, Ended ended, QObject* parent)
    : QObject(parent), pump_(pump), ended_(std::move(ended)) {
    connect(&job_, &BackgroundJob::progressed, this, &ListWorkRunner::progressed);
    connect(&job_, &BackgroundJob::finished, this, [this] {
        finishing_ = std::move(work_);
        finishing_->failure = job_.failure();
        finish();
    });
}

ListWorkRunner::~ListWorkRunner() {
    job_.stopAndWait();
}

bool ListWorkRunner::start(std::shared_ptr<ListWork> work, qsizetype rows) {
    if (rows <= kRowsWorthAThread) {
        try {
            JobProgress unwatched;
            work->run(unwatched);
        } catch (...) {
            work->failure = std::current_exception();
        }
        ended_(std::move(work), false);
        return false;
    }
    try {
        job_.start([work](JobProgress& progress) { work->run(progress); });
    } catch (...) {
        work->failure = std::current_exception();  // no thread to work on
        ended_(std::move(work), false);
        return false;
    }
    work_ = std::move(work);
    return true;
}

void ListWorkRunner::finish() {
    if (finishing_ == nullptr) {
        return;  // stopped meanwhile
    }
    if (pump_.programEnding()) {
        finishing_.reset();  // every window is going, and the rows with them
        return;
    }
    if (pump_.loopRunning()) {
        QTimer::singleShot(kRetryMs, this, &ListWorkRunner::finish);
        return;
    }
    ended_(std::move(finishing_), true);
}

bool ListWorkRunner::stop() {
    job_.stopAndWait();
    const bool hadWork = work_ != nullptr || finishing_ != nullptr;
    work_.reset();
    finishing_.reset();
    return hadWork;
}
