#include "core/memory_reserve.h"

#include <cstdlib>
#include <new>

namespace {
// Enough for a message box's window, its text and its backing store, with room to spare.
constexpr std::size_t kReserveBytes = 8 * 1024 * 1024;
void* reserve = nullptr;

void release() noexcept {
    std::free(reserve);
    reserve = nullptr;
}
}  // namespace

namespace MemoryReserve {

void take() noexcept {
    if (reserve == nullptr) {
        // Never written to: what is kept back is address space, which is what runs out under
        // a limit, and a block this size is given straight back to the system when freed.
        reserve = std::malloc(kReserveBytes);
    }
}

bool held() noexcept {
    return reserve != nullptr;
}

bool isOutOfMemory(const std::exception_ptr& failure) noexcept {
    if (!failure) {
        return false;
    }
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
        return false;
    }
}

SpentOnReportOf::SpentOnReportOf(const std::exception_ptr& failure) noexcept {
    if (isOutOfMemory(failure)) {
        release();
    }
}

}  // namespace MemoryReserve
