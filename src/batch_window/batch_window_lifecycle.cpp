#include "batch_window/batch_window_lifecycle.h"

#include <QtGlobal>

void BatchWindowLifecycle::reopen() {
    Q_ASSERT(canReopen());
    state_ = State::Open;
    ++opening_;
    splitRunning_ = false;
}

BatchWindowLifecycle::Then BatchWindowLifecycle::hide() {
    if (state_ != State::Open) {
        return Then::Nothing;
    }
    state_ = State::Hidden;
    return handlersRunning_ == 0 ? Then::ReleaseContents : Then::Nothing;
}

BatchWindowLifecycle::Then BatchWindowLifecycle::discard() {
    state_ = State::Discarded;
    return handlersRunning_ == 0 ? Then::Delete : Then::Nothing;
}

BatchWindowLifecycle::Then BatchWindowLifecycle::handlerFinished() {
    Q_ASSERT(handlersRunning_ > 0);
    if (--handlersRunning_ != 0) {
        return Then::Nothing;
    }
    switch (state_) {
        case State::Discarded:
            return Then::Delete;
        case State::Hidden:
            return Then::ReleaseContents;
        case State::Open:
            break;
    }
    return Then::Nothing;
}
