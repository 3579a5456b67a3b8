#include "core/fault_injection.h"

#include "core/failure.h"

#include <cstring>
#include <new>
#include <vector>

namespace {
struct ArmedPoint {
    const char* name;
    int remaining;
    QString description;
    bool outOfMemory = false;
};
std::vector<ArmedPoint>& armedPoints() {
    static std::vector<ArmedPoint> points;
    return points;
}
}  // namespace

namespace FaultInjection {
namespace detail {
bool anyArmed = false;

void hitSlow(const char* point) {
    auto& points = armedPoints();
    for (auto it = points.begin(); it != points.end(); ++it) {
        if (std::strcmp(it->name, point) == 0 && --it->remaining == 0) {
            const QString description = it->description;
            const bool outOfMemory = it->outOfMemory;
            points.erase(it);
            anyArmed = !points.empty();
            if (outOfMemory) {
                throw std::bad_alloc();
            }
            throw Failure(description);
        }
    }
}
}  // namespace detail

void arm(const char* point, int occurrence, const QString& description) {
    armedPoints().push_back({point, occurrence, description});
    detail::anyArmed = true;
}

void armOutOfMemory(const char* point, int occurrence) {
    armedPoints().push_back({point, occurrence, QString(), true});
    detail::anyArmed = true;
}

void disarmAll() {
    armedPoints().clear();
    detail::anyArmed = false;
}

qsizetype caseFoldingPieceUnits = qsizetype(1) << 20;

}  // namespace FaultInjection
