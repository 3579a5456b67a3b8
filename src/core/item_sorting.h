#pragma once

// What the radix sort (prefix_radix_sort.h) needs of the sort's items (see row_sorting.cpp).
// Only the sort's own files include this.

#include "core/sort_keys.h"
#include "core/sort_ties.h"
#include "core/tidy_steps.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace tidy::sorting {

// What the radix sort needs of the items: the 12 key bytes they hold, the full order for runs
// they do not tell apart, and later key bytes for big runs they do not tell apart. Credits the
// progress bar with a step a row as runs get sorted.
template <SortOrder order>
class ItemSorting {
  public:
    static constexpr int kPrefixBytes = kKeyBytesInItem;

    ItemSorting(const RowStore& rows, const UCollator& collator, JobProgress& progress)
        : rows_(&rows),
          collator_(&collator),
          tied_(rows, collator, progress),
          looks_(progress),
          progress_(&progress) {}

    static unsigned byteAt(const SortItem& item, int depth) {
        return depth < 8 ? static_cast<unsigned>(item.first8 >> (56 - 8 * depth)) & 0xFF
                         : (item.next4 >> (24 - 8 * (depth - 8))) & 0xFF;
    }
    void sortRun(SortItem* begin, SortItem* end) {
        sortByItem(begin, end);
        tiedGroups_.clear();
        for (SortItem* group = begin; group != end;) {
            SortItem* groupEnd = group + 1;
            while (groupEnd != end && samePrefix(*group, *groupEnd)) {
                ++groupEnd;
            }
            if (groupEnd - group > 1 && keyGoesOn<order>(*group)) {
                tiedGroups_.emplace_back(group, groupEnd);
            }
            group = groupEnd;
        }
        // The tied rows (mostly repeats) lie all over the list: their places, then their
        // texts, are all asked for before any is compared, so that the waits overlap.
        for (const auto& [groupBegin, groupEnd] : tiedGroups_) {
            for (const SortItem* item = groupBegin; item != groupEnd; ++item) {
                rows_->prefetch(RowIndex(item->row));
            }
        }
        for (const auto& [groupBegin, groupEnd] : tiedGroups_) {
            for (const SortItem* item = groupBegin; item != groupEnd; ++item) {
                __builtin_prefetch(rows_->view(RowIndex(item->row)).data());
            }
        }
        for (const auto& [groupBegin, groupEnd] : tiedGroups_) {
            tied_.sort(groupBegin, groupEnd);
        }
        credit(end - begin);
    }
    // A run too big to sort by the full order in cache whose items tie (rows that share a long
    // start, such as addresses of one site) is given the next 12 bytes of its keys, or, when
    // all of those tie too, the 12 from the first byte where any two of its keys differ: so a
    // long shared start costs two more keys a row, not one for every 12 bytes of it. Keys that end
    // within the items, or are all the same, leave the run in row order.
    std::ptrdiff_t moveOn(SortItem* begin, SortItem* end, std::ptrdiff_t offset) {
        if (!keyGoesOn<order>(*begin)) {
            sortByItem(begin, end);
            credit(end - begin);
            return -1;
        }
        first_.clear();
        appendSortKey(*rows_, begin->row, *collator_, first_);
        // The bytes all keys share with the first, its end included when they are all equal.
        size_t common = first_.size();
        const auto from = static_cast<size_t>(offset) + kKeyBytesInItem;
        refill(begin, end, from, [&] {
            const size_t length = std::min(common, key_.size());
            common = static_cast<size_t>(
                std::mismatch(first_.begin(), first_.begin() + static_cast<ptrdiff_t>(length),
                              key_.begin())
                    .first -
                first_.begin());
        });
        if (common < from + kKeyBytesInItem) {
            return static_cast<std::ptrdiff_t>(from);
        }
        if (common == first_.size()) {
            sortByItem(begin, end);
            credit(end - begin);
            return -1;
        }
        refill(begin, end, common, [] {});
        return static_cast<std::ptrdiff_t>(common);
    }
    void pause() const { lookForStop(*progress_); }
    void finish() {
        progress_->addDone(std::exchange(uncredited_, 0));
        lookForStop(*progress_);
    }

  private:
    void sortByItem(SortItem* begin, SortItem* end) {
        std::sort(begin, end, [this](const SortItem& a, const SortItem& b) {
            looks_.count();
            if (a.first8 != b.first8) {
                return a.first8 < b.first8;
            }
            if (a.next4 != b.next4) {
                return a.next4 < b.next4;
            }
            return a.row < b.row;
        });
    }
    // Makes the key of each item's row again and gives the item its bytes from `offset`;
    // `seen()` looks at each key.
    template <typename Seen>
    void refill(SortItem* begin, SortItem* end, size_t offset, Seen&& seen) {
        constexpr std::ptrdiff_t kAhead = 8;  // the rows lie all over the list
        for (SortItem* item = begin; item != end; ++item) {
            if ((item - begin) % kRowsBetweenLooks == 0) {
                lookForStop(*progress_);
            }
            if (end - item > kAhead) {
                rows_->prefetch(RowIndex(item[kAhead].row));
            }
            key_.clear();
            appendSortKey(*rows_, item->row, *collator_, key_);
            seen();
            *item = itemOf(key_.data(), key_.size(), offset, item->row, order);
        }
    }
    void credit(qsizetype rows) {
        uncredited_ += rows;
        if (uncredited_ >= kRowsBetweenLooks) {
            finish();
        }
    }

    const RowStore* rows_;
    const UCollator* collator_;
    std::vector<uint8_t> first_;
    std::vector<uint8_t> key_;
    std::vector<std::pair<SortItem*, SortItem*>> tiedGroups_;  // of the run being sorted
    TiedRows<order> tied_;
    StopLooks looks_;
    JobProgress* progress_;
    qsizetype uncredited_ = 0;
};

}  // namespace tidy::sorting
