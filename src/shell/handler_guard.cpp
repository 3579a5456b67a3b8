#include "shell/handler_guard.h"

#include "core/memory_reserve.h"
#include "platform/message_boxes.h"

namespace HandlerErrorReport {

QString text(const QString& description, const QString& location, int step) {
    return description + QStringLiteral("\r\n") + QStringLiteral("in Quorvane2021/08/31.") +
           location + QStringLiteral(" ") + QStringLiteral("at line ") + QString::number(step) +
           QStringLiteral("\r") + QStringLiteral("\r") +
           QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

void show(MessageBoxes& messages, const QString& description, const QString& location, int step) {
    messages.show(text(description, location, step), MessageButtons::Ok, MessageIcon::Warning,
                  kTitle);
}

QString describe(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& f) {
        return f.description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unexpected error");
    }
}

}  // namespace HandlerErrorReport

void HandlerGuard::report(int step, std::exception_ptr failure) {
    ++failures_;
    outOfMemory_ = outOfMemory_ || MemoryReserve::isOutOfMemory(failure);
    const MemoryReserve::SpentOnReportOf reserve(failure);
    HandlerErrorReport::show(messages_, HandlerErrorReport::describe(failure), location_, step);
}
