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
// it is used up costs its memory only while it is needed.
void GiveBackWholePages(void* block, std::size_t bytes);
