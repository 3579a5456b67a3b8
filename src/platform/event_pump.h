#pragma once

#include <QtGlobal>

// Lets pending window events run in the middle of a long loop.
class EventPump {
  public:
    virtual ~EventPump() = default;

    // Called once per item, through YieldingLoop (shell/yielding_loop.h), which also says what
    // may run at a yield and what a loop checks again after one. A pump may coalesce calls and
    // run the event loop only when a frame is due; `mustRun` forces a run (first and last item
    // of a loop). The check that lets most calls return at once is inline: loops over ten
    // million items call this per item. True when the call may have let events run.
    bool pendingEvents(bool mustRun = false) {
        if (!mustRun && --callsToSkip_ > 0) {
            return false;
        }
        callsToSkip_ = 1;
        runPendingEvents(mustRun);
        return true;
    }

    // Lets the window repaint and answer everything but keys and clicks, for work that must
    // keep the order of what the user types after it (a paste that is still arriving). Not
    // coalesced: the caller runs it once a frame.
    void pendingEventsExceptInput() { runPendingEventsExceptInput(); }

    // A YieldingLoop is running: its handler is on the stack, whether it is waiting here for
    // events or showing a message. Work that would reorder what such a loop reads waits.
    bool loopRunning() const { return loopsRunning_ > 0; }
    void loopStarted() { ++loopsRunning_; }
    void loopEnded() { --loopsRunning_; }

    // Once the program is ending (its main window was closed), loops stop at their next yield
    // and no message box is shown any more. Loops look for the end only after a call that let
    // events run, so the next call does, wherever the end came from.
    void endProgram() {
        if (!ending_) {
            ending_ = true;
            callsToSkip_ = 1;
            programEnds();
        }
    }
    bool programEnding() const { return ending_; }

  protected:
    virtual void runPendingEvents(bool mustRun) = 0;
    virtual void runPendingEventsExceptInput() { runPendingEvents(true); }
    virtual void programEnds() {}

    // The next `calls` - 1 calls without `mustRun` return at once.
    void skipCalls(int calls) { callsToSkip_ = calls; }

  private:
    int callsToSkip_ = 1;
    int loopsRunning_ = 0;
    bool ending_ = false;
};
