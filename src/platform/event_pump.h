#pragma once

#include <QtGlobal>

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
        ++eventRuns_;
        struct Inside {
            int& depth;
            ~Inside() { --depth; }
        } inside{++yieldDepth_};
        runPendingEvents(mustRun);
    }

    // A loop is waiting here for events to run: whatever runs now runs in the middle of it,
    // and must not change what the loop reads.
    bool insideLoop() const { return yieldDepth_ > 0; }

    // Counts the calls that may have let events run: a loop that compares it with an earlier
    // count knows whether anything else can have happened meanwhile.
    quint64 eventRuns() const { return eventRuns_; }

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
    int yieldDepth_ = 0;
    quint64 eventRuns_ = 0;
    bool ending_ = false;
};
