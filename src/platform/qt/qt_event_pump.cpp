#include "platform/qt/qt_event_pump.h"

#include "platform/coarse_clock.h"

#include <QApplication>
#include <QWidget>

QtEventPump::QtEventPump()
    : lastRunMs_(CoarseMonotonicMilliseconds()),
      lastRunStartMs_(lastRunMs_),
      lastClockMs_(lastRunMs_) {}

void QtEventPump::runPendingEvents(bool mustRun) {
    // Items that take nanoseconds need not look at the clock each time: the number of calls
    // between looks doubles while the clock has not moved since the last look, and halves
    // once it has.
    const qint64 now = CoarseMonotonicMilliseconds();
    clockStride_ = now == lastClockMs_ ? std::min(clockStride_ * 2, kMaxClockStride)
                                       : std::max(clockStride_ / 2, 1);
    skipCalls(clockStride_);
    lastClockMs_ = now;
    const qint64 elapsed = now - lastRunMs_;
    if (!mustRun && elapsed < kFrameMs) {
        return;
    }
    longestGapMs_ = std::max(longestGapMs_, now - lastRunStartMs_);
    lastRunStartMs_ = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    lastRunMs_ = CoarseMonotonicMilliseconds();
}

void QtEventPump::runPendingEventsExceptInput() {
    const qint64 now = CoarseMonotonicMilliseconds();
    longestGapMs_ = std::max(longestGapMs_, now - lastRunStartMs_);
    lastRunStartMs_ = now;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    lastRunMs_ = CoarseMonotonicMilliseconds();
}

void QtEventPump::resetLongestGap() {
    longestGapMs_ = 0;
    lastRunMs_ = lastRunStartMs_ = CoarseMonotonicMilliseconds();
}

void QtEventPump::programEnds() {
    // Every window goes at once; a handler still on the stack runs out without showing
    // anything, and the event loop then returns.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}
