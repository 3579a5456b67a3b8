// "Sort A to Z" and "Sort Z to A".
//
// The order is ICU's collation for the locale, with digits compared as numbers ("row2" before
// "row10"), canonical equivalents equal, and case and accents told apart: what QCollator gives
// on Debian with numeric mode on, since Qt's collator is ICU there too. ICU is called directly
// for two reasons:
// - speed: a sort of ten million rows makes some 230 million comparisons, and one collator
//   call costs 30 to 40 ns, about 8 s. A sort key per row instead costs one collator call per
//   row, and keys compare as plain bytes. QCollator does make keys, but as one heap object per
//   row whose bytes it does not show; here the first 12 bytes of each key sit in the item being
//   sorted, and the few rows whose 12 bytes tie are compared again by their text.
// - the C locale: where no language is chosen (LANG=C.UTF-8, usual on servers and in
//   containers) QCollator falls back to comparing UTF-16 code units, where "row10" comes before
//   "row2" and "Z" before "a". There the root collation, the Unicode default order every
//   language starts from, is what a person expects.
//
// Rows that compare equal keep their order, in both directions: the row number decides last.
//
// The parts: the collators and the items that carry the first bytes of each row's key
// (sort_keys.h), the full order where those bytes tie (sort_ties.h), what the radix sort
// (prefix_radix_sort.h) needs of the items (item_sorting.h) and the new list made a window at
// a time (row_gatherer.h).

#include "core/item_sorting.h"
#include "core/memory_pages.h"
#include "core/prefix_radix_sort.h"
#include "core/row_gatherer.h"
#include "core/row_tidying.h"
#include "core/sort_keys.h"
#include "core/sort_ties.h"
#include "core/tidy_steps.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

using tidy::kRowsBetweenLooks;
using tidy::lookForStop;
using tidy::runSideBySide;
using tidy::sorting::Collators;
using tidy::sorting::ItemSorting;
using tidy::sorting::keyGoesOn;
using tidy::sorting::RowGatherer;
using tidy::sorting::samePrefix;
using tidy::sorting::SortItem;
using tidy::sorting::TiedRows;

// Whether the items, in row order as made, are already in the full order.
template <SortOrder order>
bool alreadySorted(const SortItem* begin, const SortItem* end, const TiedRows<order>& tied,
                   const JobProgress& progress) {
    for (const SortItem* item = begin + 1; item < end; ++item) {
        if ((item - begin) % kRowsBetweenLooks == 0) {
            lookForStop(progress);
        }
        const SortItem& a = item[-1];
        const SortItem& b = *item;
        if (!samePrefix(a, b)) {
            if (a.first8 > b.first8 || (a.first8 == b.first8 && a.next4 > b.next4)) {
                return false;
            }
        } else if (keyGoesOn<order>(a) && !tied.before(a.row, b.row)) {
            return false;
        }
    }
    return true;
}

// One block of memory for the items and, once they are sorted, for their rows alone.
class ItemsThenRows {
  public:
    explicit ItemsThenRows(qsizetype count)
        : count_(count),
          bytes_(static_cast<size_t>(count) * sizeof(SortItem)),
          block_(std::malloc(bytes_)) {
        if (block_ == nullptr) {
            throw std::bad_alloc();
        }
    }
    ~ItemsThenRows() {
        GiveBackWholePages(block_, bytes_);
        std::free(block_);
    }
    ItemsThenRows(const ItemsThenRows&) = delete;
    ItemsThenRows& operator=(const ItemsThenRows&) = delete;

    SortItem* items() { return static_cast<SortItem*>(block_); }

    // Each row goes to 4 * i from 16 * i, never over an item still to be read.
    const quint32* keepOnlyRows() {
        auto* bytes = static_cast<unsigned char*>(block_);
        for (qsizetype at = 0; at < count_; ++at) {
            const quint32 row = items()[at].row;
            std::memcpy(bytes + at * sizeof(quint32), &row, sizeof row);
        }
        // Shrinking a block that big moves nothing; should it fail, the block stays whole.
        const size_t rowBytes = static_cast<size_t>(count_) * sizeof(quint32);
        GiveBackWholePages(bytes + rowBytes, bytes_ - rowBytes);
        if (void* shrunk = std::realloc(block_, rowBytes)) {
            block_ = shrunk;
            bytes_ = rowBytes;
        }
        return static_cast<const quint32*>(block_);
    }

    // The rows [begin, end) have been read for the last time: their pages go back to the
    // system, so that the new list grows as the new order shrinks.
    void letGoOfRows(qsizetype begin, qsizetype end) {
        auto* rows = static_cast<quint32*>(block_);
        GiveBackWholePages(rows + begin, static_cast<size_t>(end - begin) * sizeof(quint32));
    }

  private:
    qsizetype count_;
    size_t bytes_;
    void* block_;
};

template <SortOrder order>
TidyResult sortRows(const RowStore& rows, const Collators& collators, JobProgress& progress) {
    const qsizetype count = rows.size();
    progress.setTotal(3 * count);  // the keys, the sort, the new list

    // The items (16 bytes a row), then the new order as old row numbers (4 bytes a row) in the
    // items' place: each item's row is moved down to the start of the block, and the rest of
    // the block goes back to the system before the map (4 bytes a row) and the new list (8
    // bytes a row) are made; the new order goes back as the list grows. At most 16 bytes a
    // row: the items, then the map, the list and what is left of the order (13.3 at the end).
    ItemsThenRows block(count);
    {
        tidy::sorting::makeKeys(rows, collators, order, block.items(), progress);

        SortItem* const begin = block.items();
        SortItem* const end = begin + count;
        const RowStore secondReader = rows;
        ItemSorting<order> here(rows, *collators.first, progress);
        ItemSorting<order> there(secondReader, *collators.second, progress);
        if (alreadySorted(begin, end, TiedRows<order>(rows, *collators.first, progress),
                          progress)) {
            progress.setDone(progress.total());
            return {};
        }
        tidy::PrefixRadixSort<SortItem, ItemSorting<order>>::sort(
            begin, end, here, there, [](auto&& a, auto&& b) { runSideBySide(a, b); });
        here.finish();
        there.finish();
    }
    const quint32* const oldRowAt = block.keepOnlyRows();
    TidyResult result;
    result.outcome = TidyOutcome::Changed;
    result.rows = std::make_unique<RowStore>();
    result.newRows = RowMap(count);
    // Each thread makes half of the new list, reading through a store of its own a window at a
    // time (40 bytes a row of a window of a sixty-fourth: 0.6 bytes a row); the second half's
    // blocks then join the first's as they are. The first half ends with a full block, so that
    // the list's blocks stay full and a row's block is found by a division.
    const RowStore secondReader = rows;
    RowStore secondHalf;
    const qsizetype middle = count / 2 / RowStore::kBlockRows * RowStore::kBlockRows;
    const auto makeRows = [&](const RowStore& from, RowStore& to, qsizetype begin, qsizetype end) {
        to.reserveMore(end - begin);
        RowGatherer gatherer(count);
        for (qsizetype at = begin; at < end; at += gatherer.window()) {
            const qsizetype size = std::min(gatherer.window(), end - at);
            qsizetype gathered = 0;
            gatherer.gather(from, oldRowAt + at, size, [&](RowIndex oldRow, qsizetype place) {
                result.newRows.set(oldRow, RowIndex(at + place));
                if (++gathered % kRowsBetweenLooks == 0) {
                    lookForStop(progress);
                }
            });
            gatherer.appendTo(to, size);
            block.letGoOfRows(begin, at + size);
            progress.addDone(size);
            lookForStop(progress);
        }
    };
    runSideBySide([&] { makeRows(rows, *result.rows, 0, middle); },
                  [&] { makeRows(secondReader, secondHalf, middle, count); });
    result.rows->appendAll(std::move(secondHalf));
    progress.setDone(progress.total());
    return result;
}

}  // namespace

TidyResult SortRows(const RowStore& rows, SortOrder order, const QLocale& locale,
                    JobProgress& progress) {
    return tidy::stoppable(rows, [&]() -> TidyResult {
        if (rows.size() < 2) {
            progress.setTotal(rows.size());
            progress.setDone(rows.size());
            return {};
        }
        const Collators collators = tidy::sorting::openCollators(locale);
        return order == SortOrder::AToZ ? sortRows<SortOrder::AToZ>(rows, collators, progress)
                                        : sortRows<SortOrder::ZToA>(rows, collators, progress);
    });
}
