#pragma once

#include "platform/event_pump.h"

#include <QtGlobal>

// Runs the event loop at most once a frame, so a loop over millions of items costs a few
// hundred event-loop runs, not millions.
class QtEventPump : public EventPump {
  public:
    QtEventPump();

    // The longest stretch between two runs of the event loop, for the benchmarks.
    qint64 longestGapMs() const { return longestGapMs_; }
    void resetLongestGap();

  protected:
    void runPendingEvents(bool mustRun) override;
    void programEnds() override;

  private:
    static constexpr qint64 kFrameMs = 8;
    static constexpr int kMaxClockStride = 256;

    qint64 lastRunMs_;
    qint64 lastClockMs_;
    int clockStride_ = 1;
    qint64 longestGapMs_ = 0;
};
