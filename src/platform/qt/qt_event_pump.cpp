#include "platform/qt/qt_event_pump.h"

#include <QApplication>
#include <QWidget>

QtEventPump::QtEventPump() {
    sinceLastRun_.start();
}

void QtEventPump::pendingEvents(bool mustRun) {
    const qint64 elapsed = sinceLastRun_.elapsed();
    if (!mustRun && elapsed < kFrameMs) {
        return;
    }
    longestGapMs_ = std::max(longestGapMs_, elapsed);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    sinceLastRun_.restart();
}

void QtEventPump::resetLongestGap() {
    longestGapMs_ = 0;
    sinceLastRun_.restart();
}

void QtEventPump::endProgram() {
    if (ending_) {
        return;
    }
    ending_ = true;
    // Every window goes at once; a handler still on the stack runs out without showing
    // anything, and the event loop then returns.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    QCoreApplication::exit(0);
}
