#pragma once

#include <cstddef>

// Hints to the system about the pages of large blocks. Both are only hints: where the system
// has no such calls they do nothing.

// Asks the system to back a large block that is about to be written from start to end with
// huge pages: a quarter of a million page faults for a few hundred megabytes become a few
// hundred. Only a hint; blocks smaller than a huge page are left alone. Where the system
// compacts memory to find huge pages (defrag "madvise"), a fault can then stall for tens of
// milliseconds: use it for blocks filled in one go, not for lists that grow while the user
// waits for the window to answer.
void PreferHugePages(void* block, std::size_t bytes);

// Gives back to the system the whole pages within [block, block + bytes), whose contents will
// not be read again: they stay the block's and read as zeros. A block freed piece by piece as
// it is used up costs its memory only while it is needed. Called on a big block before it is
// freed or shrunk, it keeps the free from holding up the other threads' memory calls: the
// pages go back a piece at a time, and the free then has none left to give back.
void GiveBackWholePages(void* block, std::size_t bytes);

// Deletes an array of plain values made with new[], giving its pages back first: for arrays
// of hundreds of megabytes that a worker lets go of while the window goes on.
template <typename T>
struct DeleteGivingBackPages {
    std::size_t count = 0;
    void operator()(T* values) const {
        GiveBackWholePages(values, count * sizeof(T));
        delete[] values;
    }
};
