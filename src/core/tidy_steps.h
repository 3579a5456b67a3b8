#pragma once

// What the tidying computations (row_tidying.h) share among themselves.

#include "core/failure.h"
#include "core/row_tidying.h"

#include <exception>
#include <system_error>
#include <thread>

namespace tidy {

namespace testing {
// Set by tests only: every row hashes alike, so that only the texts tell rows apart.
extern bool everyRowHashesAlike;
}  // namespace testing

// Thrown where a stop request is seen; the computation's entry turns it into Stopped.
struct Stopped {};

// A look at the stop flag (and a new progress value) costs a few nanoseconds, a row about as
// much or, where each row misses the caches, a hundred: every thousand rows the cost is lost
// in the noise and a stop is seen within a fraction of a millisecond.
constexpr qsizetype kRowsBetweenLooks = 1024;

inline void lookForStop(const JobProgress& progress) {
    if (progress.stopRequested()) {
        throw Stopped{};
    }
}

// Row numbers are kept in 32 bits, one value meaning "gone": 48 GB of rows before it matters.
inline void refuseTooManyRows(const RowStore& rows) {
    if (rows.size() >= qsizetype{RowMap::kGone}) {
        throw Failure(QStringLiteral("A list of %1 rows is too long to tidy.").arg(rows.size()));
    }
}

inline void appendRow(RowStore& to, const RowStore& from, RowIndex row) {
    TextSpan span;
    const QString& source = from.source(row, span);
    to.appendSpan(source, span);
}

template <typename Work>
TidyResult stoppable(const RowStore& rows, Work&& work) {
    refuseTooManyRows(rows);
    try {
        return work();
    } catch (const Stopped&) {
        TidyResult stopped;
        stopped.outcome = TidyOutcome::Stopped;
        return stopped;
    }
}

// Runs `here` on this thread and `there` on a second one, and returns when both are done,
// passing on what either threw. If the system gives no thread, both run here.
template <typename Here, typename There>
void runSideBySide(Here&& here, There&& there) {
    std::exception_ptr thereFailed;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                there();
            } catch (...) {
                thereFailed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        there();
        return;
    }
    std::exception_ptr hereFailed;
    try {
        here();
    } catch (...) {
        hereFailed = std::current_exception();
    }
    helper.join();
    if (hereFailed) {
        std::rethrow_exception(hereFailed);
    }
    if (thereFailed) {
        std::rethrow_exception(thereFailed);
    }
}

}  // namespace tidy
