#include "core/memory_pages.h"

#include <algorithm>
#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

void PreferHugePages(void* block, std::size_t bytes) {
#ifdef __linux__
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t end = begin + bytes;
    const std::uintptr_t alignedBegin = (begin + kHugePage - 1) & ~(kHugePage - 1);
    if (end > alignedBegin + kHugePage) {
        madvise(reinterpret_cast<void*>(alignedBegin), (end - alignedBegin) & ~(kHugePage - 1),
                MADV_HUGEPAGE);
    }
#else
    (void)block;
    (void)bytes;
#endif
}

void GiveBackWholePages(void* block, std::size_t bytes) {
#ifdef __linux__
    static const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = (begin + bytes) & ~(page - 1);
    // Each call holds the address space's lock for reading while it frees its pages; a piece
    // at a time lets another thread's brk() or mmap() in between, instead of after a gigabyte.
    constexpr std::uintptr_t kPiece = std::uintptr_t{32} << 20;
    for (std::uintptr_t at = first; at < last; at += kPiece) {
        madvise(reinterpret_cast<void*>(at), std::min(kPiece, last - at), MADV_DONTNEED);
    }
#else
    (void)block;
    (void)bytes;
#endif
}
