#pragma once

// Lets pending window events run in the middle of a long loop.
class EventPump {
  public:
    virtual ~EventPump() = default;

    // Called once per item. The real pump may coalesce calls and run the event loop only when
    // a frame is due; `mustRun` forces a run (first and last item of a loop).
    virtual void pendingEvents(bool mustRun = false) = 0;

    // Once the program is ending (its main window was closed), loops stop at their next yield
    // and no message box is shown any more.
    virtual void endProgram() = 0;
    virtual bool programEnding() const = 0;
};
