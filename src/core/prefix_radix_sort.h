#pragma once

// Sorts items that carry some bytes of their sort key: by those bytes first, most significant
// first, in place, then each run of a few hundred items by the full order. A bigger run whose
// bytes are all equal is given later bytes of its keys and sorted by them in turn. A comparison
// sort of a hundred million items goes over them some thirty times, each time missing the caches;
// here every pass over a run but the last streams through it, and the last works in cache. Two
// threads share the runs.

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

namespace tidy {

// `Sorting` gives:
//   static constexpr int kPrefixBytes;      // how many bytes byteAt() has
//   unsigned byteAt(const Item&, int depth) // byte `depth` of the item's key
//   void sortRun(Item* begin, Item* end)    // the full order, for items sorted by their bytes
//                                           // so far; called once for every item
//   std::ptrdiff_t moveOn(Item* begin, Item* end, std::ptrdiff_t offset)
//                                           // items alike in all their bytes, which are those
//                                           // of their keys from `offset`: gives them later
//                                           // bytes of their keys and returns where these
//                                           // start, or puts them in order itself and
//                                           // returns -1
//   void pause()                            // every few thousand items of a pass: may throw
// Each thread works with a `Sorting` of its own.
template <typename Item, typename Sorting>
class PrefixRadixSort {
  public:
    // Runs of at most this many items are sorted by sortRun() as they are.
    static constexpr std::ptrdiff_t kSortDirectly = 384;

    // Sorts [begin, end) with `here` on this thread and `there` on a second one, which
    // `runSideBySide(here, there)` starts.
    template <typename SideBySide>
    static void sort(Item* begin, Item* end, Sorting& here, Sorting& there,
                     SideBySide&& runSideBySide) {
        Shared shared;
        // A run bigger than this is split on the thread that takes it, and its parts shared.
        shared.shareAbove = std::max<std::ptrdiff_t>((end - begin) / 64, 1 << 16);
        shared.runs.push_back({begin, end, 0, 0});
        runSideBySide([&] { work(shared, here); }, [&] { work(shared, there); });
    }

  private:
    struct Run {
        Item* begin;
        Item* end;
        int depth;
        std::ptrdiff_t keyOffset;  // where the items' bytes start in their keys
    };
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<Run> runs;
        int busy = 0;
        bool abandoned = false;
        std::ptrdiff_t shareAbove = 0;
    };

    static void work(Shared& shared, Sorting& sorting) {
        try {
            Run run{};
            while (take(shared, run)) {
                if (run.end - run.begin > shared.shareAbove) {
                    split(run, sorting, [&](const Run& part) {
                        const std::lock_guard lock(shared.mutex);
                        shared.runs.push_back(part);
                        shared.changed.notify_one();
                    });
                } else {
                    sortAll(run, sorting);
                }
                const std::lock_guard lock(shared.mutex);
                if (--shared.busy == 0 && shared.runs.empty()) {
                    shared.changed.notify_all();
                }
            }
        } catch (...) {
            const std::lock_guard lock(shared.mutex);
            shared.abandoned = true;
            shared.changed.notify_all();
            throw;
        }
    }

    // The next run to work on; false when all are done or the other thread failed.
    static bool take(Shared& shared, Run& run) {
        std::unique_lock lock(shared.mutex);
        for (;;) {
            if (shared.abandoned) {
                return false;
            }
            if (!shared.runs.empty()) {
                // The biggest: it has the most work to share out.
                const auto biggest = std::max_element(
                    shared.runs.begin(), shared.runs.end(),
                    [](const Run& a, const Run& b) { return a.end - a.begin < b.end - b.begin; });
                run = *biggest;
                *biggest = shared.runs.back();
                shared.runs.pop_back();
                ++shared.busy;
                return true;
            }
            if (shared.busy == 0) {
                return false;
            }
            shared.changed.wait(lock);
        }
    }

    static void sortAll(const Run& run, Sorting& sorting) {
        split(run, sorting, [&](const Run& part) { sortAll(part, sorting); });
    }

    // Sorts a small run at once; moves a bigger one whose bytes are all used on to later bytes;
    // else orders the run by its next byte that not all its items share and hands each part
    // to `next`.
    template <typename Next>
    static void split(Run run, Sorting& sorting, Next&& next) {
        for (;;) {
            const std::ptrdiff_t size = run.end - run.begin;
            if (size <= kSortDirectly) {
                sorting.sortRun(run.begin, run.end);
                return;
            }
            if (run.depth == Sorting::kPrefixBytes) {
                run.keyOffset = sorting.moveOn(run.begin, run.end, run.keyOffset);
                if (run.keyOffset < 0) {
                    return;
                }
                run.depth = 0;
                continue;
            }
            std::array<std::ptrdiff_t, 256> counts{};
            for (Item* item = run.begin; item != run.end; ++item) {
                if (((item - run.begin) & kItemsBetweenPauses) == 0) {
                    sorting.pause();
                }
                ++counts[sorting.byteAt(*item, run.depth)];
            }
            if (std::find(counts.begin(), counts.end(), size) != counts.end()) {
                ++run.depth;  // one byte for all: nothing to move
                continue;
            }
            std::array<Item*, 256> heads;
            std::array<Item*, 256> ends;
            Item* at = run.begin;
            for (size_t byte = 0; byte < 256; ++byte) {
                heads[byte] = at;
                at += counts[byte];
                ends[byte] = at;
            }
            // Each item goes straight to its part, the one found there taking its turn.
            std::ptrdiff_t moved = 0;
            for (size_t byte = 0; byte < 256; ++byte) {
                while (heads[byte] != ends[byte]) {
                    if ((++moved & kItemsBetweenPauses) == 0) {
                        sorting.pause();
                    }
                    Item item = *heads[byte];
                    unsigned itemByte = sorting.byteAt(item, run.depth);
                    while (itemByte != byte) {
                        std::swap(item, *heads[itemByte]++);
                        itemByte = sorting.byteAt(item, run.depth);
                    }
                    *heads[byte]++ = item;
                }
            }
            Item* partBegin = run.begin;
            for (size_t byte = 0; byte < 256; ++byte) {
                if (counts[byte] > 0) {
                    next(Run{partBegin, partBegin + counts[byte], run.depth + 1, run.keyOffset});
                    partBegin += counts[byte];
                }
            }
            return;
        }
    }

    static constexpr std::ptrdiff_t kItemsBetweenPauses = (1 << 16) - 1;
};

}  // namespace tidy
