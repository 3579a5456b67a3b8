#include "shell/yielding_loop.h"

#include "widgets/report_list/report_list.h"

YieldingLoop::~YieldingLoop() {
    QObject::disconnect(watchConnection_);
    pump_.loopEnded();
}

void YieldingLoop::eventsRan() {
    eventsRanSinceLook_ = true;
    if (!stop_) {
        stop_ = pump_.programEnding() || (windowGoneTest_ && windowGoneTest_());
    }
}

void YieldingLoop::watch(const ReportList& list) {
    QObject::disconnect(watchConnection_);
    watched_ = &list;
    watchedCount_ = list.count();
    watchedRowsRemoved_ = false;
    watchConnection_ = QObject::connect(&list, &ReportList::rowsRemovedOrReplaced,
                                        [this] { watchedRowsRemoved_ = true; });
}

bool YieldingLoop::listChangedSinceLastLook() {
    const qsizetype count = watched_->count();
    const bool changed = watchedRowsRemoved_ || count != watchedCount_;
    watchedRowsRemoved_ = false;
    watchedCount_ = count;
    return changed;
}
