#pragma once

#include "platform/event_pump.h"

#include <QMetaObject>

#include <functional>
#include <utility>

class ReportList;

// A loop that lets the window's events run once per item: the splits, the save, the copy and
// the workbook export. It yields through the pump, says when the loop must end, and tells
// what may have changed under it meanwhile.
//
// What may run at a yield. Waiting events run on the loop's own stack, so any handler the
// user reaches may run in the middle of the loop:
//  - Handlers that would remove or reorder rows another loop reads by number refuse while
//    their window shows the hourglass or runs a split: Delete, double-click, the main
//    window's "Clear Results", the batch window's input-list edits, the tidy actions. A tidy
//    action started before the loop works on its own copy of the rows; when its job ends
//    while a loop runs, its new rows wait until no loop is left (EventPump::loopRunning()).
//  - The batch window's results "Clear List" acts at any time, so a save, a copy or an
//    export of those results can find rows gone.
//  - A second split may run to its end: in the main window it appends its pieces between
//    the first one's and leaves the progress bar at rest; the batch window ignores a second
//    "Start Splitting". A save, copy or export may run too.
//  - Closing the batch window ("< Back" or its close button) unloads it: it hides, but stays
//    until its handlers on the stack have returned.
//  - Closing the main window ends the program: every loop stops at its next yield, and no
//    message box is shown any more.
// What a loop checks again after a yield:
//  - mustStop(): the program is ending, or the window that started the loop has gone. The
//    loop then ends at once and leaves nothing half done: no file replaced, the clipboard as
//    it was, no "Done.".
//  - The row: a row read by number may be gone, and reading it then is the list's Failure. A
//    reference into a list's rows taken before the yield is used again only when
//    listChangedSinceLastLook() says the list is as it was.
//  - What it shows: after eventsRanSinceLastLook(), another loop may have set the progress
//    bar, so the loop sets its value again.
class YieldingLoop {
  public:
    // True once the window that started the loop has gone (the batch window unloaded). It is
    // asked only after events have run, which is when a window can go.
    using WindowGoneTest = std::function<bool()>;

    // A loop that only the program's end stops.
    explicit YieldingLoop(EventPump& pump) : pump_(pump), stop_(pump.programEnding()) {
        pump_.loopStarted();
    }
    YieldingLoop(EventPump& pump, WindowGoneTest windowGone)
        : pump_(pump), windowGoneTest_(std::move(windowGone)), stop_(pump.programEnding()) {
        pump_.loopStarted();
    }
    ~YieldingLoop();
    YieldingLoop(const YieldingLoop&) = delete;
    YieldingLoop& operator=(const YieldingLoop&) = delete;

    // Once per item: lets events run when the pump has a frame due, and always with `mustRun`
    // (the first and the last item). False when the loop must stop. Most calls cost a
    // decrement and a load, inline: the stop is looked for only after events have run.
    bool yield(bool mustRun = false) {
        if (pump_.pendingEvents(mustRun)) {
            eventsRan();
        }
        return !stop_;
    }

    // The program is ending, or the window that started the loop has gone.
    bool mustStop() const { return stop_; }

    // Whether events may have run since the last time this was asked (or since the loop was
    // made).
    bool eventsRanSinceLastLook() {
        if (!eventsRanSinceLook_) {
            return false;  // no store: most items of a loop come here
        }
        eventsRanSinceLook_ = false;
        return true;
    }

    // Watches `list` from now on for rows removed, cleared or replaced, and rows appended.
    void watch(const ReportList& list);
    // Whether the watched list changed since the last time this was asked (or since watch()).
    bool listChangedSinceLastLook();

  private:
    void eventsRan();

    EventPump& pump_;
    WindowGoneTest windowGoneTest_;
    bool stop_;
    bool eventsRanSinceLook_ = false;

    const ReportList* watched_ = nullptr;
    QMetaObject::Connection watchConnection_;
    qsizetype watchedCount_ = 0;
    bool watchedRowsRemoved_ = false;
};
