#pragma once

#include <exception>

// Memory kept back for the report that memory ran out. By the time an allocation fails, the
// work that failed may hold all there is, and the report's text and box need some of their
// own: without this, showing the report fails as well and ends the program.
namespace MemoryReserve {

// Takes the reserve if it is not held; without the memory for it, goes on without one.
void take() noexcept;
bool held() noexcept;

// Whether `failure` is running out of memory.
bool isOutOfMemory(const std::exception_ptr& failure) noexcept;

// While a report of `failure` is shown: the reserve is given back when the failure is running
// out of memory, and taken again afterwards.
class SpentOnReportOf {
  public:
    explicit SpentOnReportOf(const std::exception_ptr& failure) noexcept;
    ~SpentOnReportOf() { take(); }
    SpentOnReportOf(const SpentOnReportOf&) = delete;
    SpentOnReportOf& operator=(const SpentOnReportOf&) = delete;
};

}  // namespace MemoryReserve
