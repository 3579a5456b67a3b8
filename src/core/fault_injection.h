#pragma once

#include <QString>

// Named points where tests can make an operation fail, to check how handlers go on after a
// failure. Costs one load of a flag per pass while nothing is armed.
namespace FaultInjection {

// The `occurrence`-th pass (1-based) through `point` from now on throws a Failure.
void arm(const char* point, int occurrence,
         const QString& description = QStringLiteral("Injected failure"));
// The same, throwing std::bad_alloc as an allocation that finds no memory does.
void armOutOfMemory(const char* point, int occurrence);
void disarmAll();

namespace detail {
extern bool anyArmed;
void hitSlow(const char* point);
}  // namespace detail

inline void hit(const char* point) {
    if (detail::anyArmed) {
        detail::hitSlow(point);
    }
}

// Rows longer than this many UTF-16 code units are case-folded a piece at a time (ICU takes
// lengths of 32 bits). Tests lower it so that short rows cross piece boundaries.
extern qsizetype caseFoldingPieceUnits;

}  // namespace FaultInjection
