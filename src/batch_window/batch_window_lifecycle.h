#pragma once

// Where the batch window is in its life, and what it must do when that changes.
//
// The main window keeps one batch window and opens it again and again, because every window
// made anew brings palettes of its own and the style keeps its pixmaps per palette for as long
// as the program runs. Closing ("< Back" or the close button) only hides it. A handler of the
// window can still be on the stack then (a split waiting in the event pump): the window keeps
// its lists until that handler returns, and it cannot be made new again meanwhile. If the user
// opens it in that moment, the main window gives the old one up and makes a new one; the old one
// is deleted once its last handler has returned.
class BatchWindowLifecycle {
  public:
    enum class State { Open, Hidden, Discarded };
    // What the window must do after a change of state.
    enum class Then { Nothing, ReleaseContents, Delete };

    State state() const { return state_; }
    bool isOpen() const { return state_ == State::Open; }
    // Counts the openings, so work queued during one never runs in the next.
    int opening() const { return opening_; }
    // A split run of the window is going (a second one would clear the results under it).
    bool splitRunning() const { return splitRunning_; }

    // A hidden window with no handler running can be made new again and opened.
    bool canReopen() const { return state_ == State::Hidden && handlersRunning_ == 0; }
    void reopen();

    // The window hides: loops of it stop at their next yield. Its contents go now when it is
    // idle, otherwise when its last handler returns.
    Then hide();
    // The window will not be opened again: it goes as soon as it is idle.
    Then discard();

    void handlerStarted() { ++handlersRunning_; }
    Then handlerFinished();

    void splitStarted() { splitRunning_ = true; }
    void splitFinished() { splitRunning_ = false; }

  private:
    State state_ = State::Open;
    int handlersRunning_ = 0;
    int opening_ = 0;
    bool splitRunning_ = false;
};
