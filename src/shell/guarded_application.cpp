#include "shell/guarded_application.h"

#include "core/memory_reserve.h"
#include "platform/message_boxes.h"
#include "shell/handler_guard.h"

#include <QtDebug>

#include <cstdio>

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    MemoryReserve::take();
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        report(std::current_exception());
        return false;
    }
}

void GuardedApplication::report(std::exception_ptr failure) {
    // Nothing may leave here: past this point the failure would end the program. Writing the
    // log line and the report allocate, which is what the reserve is for.
    const MemoryReserve::SpentOnReportOf reserve(failure);
    try {
        const QString description = HandlerErrorReport::describe(failure);
        qWarning("Unhandled exception in an event handler: %s", qUtf8Printable(description));
        // A box runs events of its own; a failure among them is logged, not stacked on this
        // one.
        if (messages_ == nullptr || reporting_) {
            return;
        }
        reporting_ = true;
        try {
            messages_->show(LastResortReport::text(description), MessageButtons::Ok,
                            MessageIcon::Warning, HandlerErrorReport::kTitle);
        } catch (...) {
            reporting_ = false;
            throw;
        }
        reporting_ = false;
    } catch (...) {
        std::fputs("The error report could not be shown\n", stderr);
    }
}

namespace LastResortReport {
QString text(const QString& description) {
    return description + QStringLiteral("\r\n") +
           QStringLiteral("Quorvane goes on, and your lists are kept as they are.") +
           QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") +
           HandlerErrorReport::kSupportAddress;
}
}  // namespace LastResortReport
