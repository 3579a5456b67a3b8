#pragma once

#include "platform/event_pump.h"

#include <QtGlobal>

// Runs the event loop at most once a frame, so a loop over millions of items costs a few
// hundred event-loop runs, not millions.
class QtEventPump : public EventPump {
  public:
    QtEventPump();

    // The longest an input event could wait, for the benchmarks: from the start of one run of
    // the event loop (an event arriving just after it has looked waits for the next run) to
    // the start of the next.
    qint64 longestGapMs() const { return longestGapMs_; }
    void resetLongestGap();

  protected:
    void runPendingEvents(bool mustRun) override;
    void runPendingEventsExceptInput() override;
    void programEnds() override;

  private:
    static constexpr qint64 kFrameMs = 8;
    static constexpr int kMaxClockStride = 256;

    qint64 lastRunMs_;
    qint64 lastRunStartMs_;
    qint64 lastClockMs_;
    int clockStride_ = 1;
    qint64 longestGapMs_ = 0;
};
