#pragma once

// The sort's full order where the items' key bytes tie (see row_sorting.cpp). Compared in the
// sort's inner loops, so all of it is here to be inlined. Only the sort's own files include
// this.

#include "core/sort_keys.h"
#include "core/tidy_steps.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tidy::sorting {

// Looks for a stop request every so many comparisons of a sort.
class StopLooks {
  public:
    explicit StopLooks(const JobProgress& progress)
        : progress_(&progress), comparisons_(std::make_shared<quint64>(0)) {}
    void count() const {
        if ((++*comparisons_ & (kComparisonsBetweenLooks - 1)) == 0) {
            lookForStop(*progress_);
        }
    }

  private:
    static constexpr quint64 kComparisonsBetweenLooks = 1 << 14;
    const JobProgress* progress_;
    // std::sort copies its comparator; the copies count together.
    std::shared_ptr<quint64> comparisons_;
};

// The full order of rows whose items tie, for one thread: the collator's comparison orders as
// the keys do (ICU promises it) and costs no memory; on equal texts (most ties are repeated
// rows) it is a quick look. A bigger group of tied rows has its keys made again instead, once
// a row rather than once a comparison, in a few kilobytes: the radix sort hands over runs of
// a few hundred rows at most.
template <SortOrder order>
class TiedRows {
  public:
    TiedRows(const RowStore& rows, const UCollator& collator, const JobProgress& progress)
        : rows_(&rows), collator_(&collator), looks_(progress), progress_(&progress) {}

    // Whether row `a` goes before row `b`, their items tied and their keys going on.
    bool before(quint32 a, quint32 b) const {
        const auto [textA, lengthA] = collatedText(*rows_, a);
        const auto [textB, lengthB] = collatedText(*rows_, b);
        const UCollationResult result = ucol_strcoll(collator_, textA, lengthA, textB, lengthB);
        if (result != UCOL_EQUAL) {
            return (result == UCOL_LESS) == (order == SortOrder::AToZ);
        }
        return a < b;
    }

    // Sorts items whose 12 bytes are all alike and whose keys go on.
    void sort(SortItem* begin, SortItem* end) {
        const qsizetype size = end - begin;
        if (size <= kCollatedGroupRows) {
            std::sort(begin, end, [this](const SortItem& a, const SortItem& b) {
                looks_.count();
                return before(a.row, b.row);
            });
            return;
        }
        keys_.clear();
        placed_.clear();
        for (const SortItem* item = begin; item != end; ++item) {
            const size_t at = keys_.size();
            appendSortKey(*rows_, item->row, *collator_, keys_);
            placed_.push_back({at, item->row});
        }
        lookForStop(*progress_);
        const uint8_t* keys = keys_.data();
        std::sort(placed_.begin(), placed_.end(), [keys](const Keyed& a, const Keyed& b) {
            const int rest = std::strcmp(reinterpret_cast<const char*>(keys + a.at),
                                         reinterpret_cast<const char*>(keys + b.at));
            if (rest != 0) {
                return order == SortOrder::AToZ ? rest < 0 : rest > 0;
            }
            return a.row < b.row;
        });
        for (qsizetype i = 0; i < size; ++i) {
            begin[i].row = placed_[static_cast<size_t>(i)].row;
        }
    }

  private:
    // Up to some 32 rows, their log2(n) comparisons a row cost less than a key a row.
    static constexpr qsizetype kCollatedGroupRows = 32;
    struct Keyed {
        size_t at;
        quint32 row;
    };

    const RowStore* rows_;
    const UCollator* collator_;
    StopLooks looks_;
    const JobProgress* progress_;
    std::vector<uint8_t> keys_;
    std::vector<Keyed> placed_;
};

}  // namespace tidy::sorting
