#pragma once

#include "platform/event_pump.h"

#include <QElapsedTimer>

// Runs the event loop at most once a frame, so a loop over millions of items costs a few
// hundred event-loop runs, not millions.
class QtEventPump : public EventPump {
  public:
    QtEventPump();

    void pendingEvents(bool mustRun) override;
    void endProgram() override;
    bool programEnding() const override { return ending_; }

    // The longest stretch between two runs of the event loop, for the benchmarks.
    qint64 longestGapMs() const { return longestGapMs_; }
    void resetLongestGap();

  private:
    static constexpr qint64 kFrameMs = 8;

    QElapsedTimer sinceLastRun_;
    qint64 longestGapMs_ = 0;
    bool ending_ = false;
};
