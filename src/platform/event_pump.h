#pragma once

// Lets pending window events run in the middle of a long loop.
class EventPump {
  public:
    virtual ~EventPump() = default;

    // Called once per item. A pump may coalesce calls and run the event loop only when a frame
    // is due; `mustRun` forces a run (first and last item of a loop). The check that lets most
    // calls return at once is inline: loops over ten million items call this per item.
    void pendingEvents(bool mustRun = false) {
        if (!mustRun && --callsToSkip_ > 0) {
            return;
        }
        callsToSkip_ = 1;
        runPendingEvents(mustRun);
    }

    // Once the program is ending (its main window was closed), loops stop at their next yield
    // and no message box is shown any more.
    void endProgram() {
        if (!ending_) {
            ending_ = true;
            programEnds();
        }
    }
    bool programEnding() const { return ending_; }

  protected:
    virtual void runPendingEvents(bool mustRun) = 0;
    virtual void programEnds() {}

    // The next `calls` - 1 calls without `mustRun` return at once.
    void skipCalls(int calls) { callsToSkip_ = calls; }

  private:
    int callsToSkip_ = 1;
    bool ending_ = false;
};
