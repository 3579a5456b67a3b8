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

#include "core/failure.h"
#include "core/memory_pages.h"
#include "core/prefix_radix_sort.h"
#include "core/row_tidying.h"
#include "core/tidy_steps.h"

#include <QtEndian>

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

using tidy::kRowsBetweenLooks;
using tidy::lookForStop;
using tidy::runSideBySide;

struct CloseCollator {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using Collator = std::unique_ptr<UCollator, CloseCollator>;

[[noreturn]] void throwCollatorError(UErrorCode status, const QString& localeName) {
    if (status == U_MEMORY_ALLOCATION_ERROR) {
        throw std::bad_alloc();
    }
    throw Failure(QStringLiteral("The sort order of %1 is not available (%2).")
                      .arg(localeName, QString::fromLatin1(u_errorName(status))));
}

// A collator for each of the two threads, so that they share no state of ICU's.
struct Collators {
    Collator first;
    Collator second;
};

Collators openCollators(const QLocale& locale) {
    char id[ULOC_FULLNAME_CAPACITY] = "";  // empty: the root collation
    if (locale.language() != QLocale::C) {
        // The language tag keeps the script, which some languages' orders depend on.
        const QByteArray tag = locale.bcp47Name().toLatin1();
        UErrorCode status = U_ZERO_ERROR;
        int32_t parsed = 0;
        uloc_forLanguageTag(tag.constData(), id, sizeof id, &parsed, &status);
        if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) {
            id[0] = '\0';
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(id, &status));
    // Set as QCollator sets them, with numeric mode on.
    ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    Collator second;
    if (U_SUCCESS(status)) {
        second.reset(ucol_clone(collator.get(), &status));
    }
    if (U_FAILURE(status)) {
        throwCollatorError(status, locale.name());
    }
    return {std::move(collator), std::move(second)};
}

// A row to be sorted: 12 bytes of its key as two numbers (complemented for Z to A, so that the
// smaller always comes first), at first its first 12. The keys of short rows are 10 to 16
// bytes, with the letters and digits in the first 8 or 9, so most comparisons end here; the
// rest of a key is not kept, but made again for the rows whose 12 bytes tie, when they are
// sorted.
struct SortItem {
    quint64 first8;
    quint32 next4;
    quint32 row;
};
static_assert(sizeof(SortItem) == 16);
constexpr int kKeyBytesInItem = 12;

// Keys end with a zero byte and hold no other: padded with zeros, a short key still compares
// right, and a key has more bytes past the item's only if its 12th byte is not zero.
template <SortOrder order>
bool keyGoesOn(const SortItem& item) {
    return (item.next4 & 0xFF) != (order == SortOrder::AToZ ? 0 : 0xFF);
}

bool samePrefix(const SortItem& a, const SortItem& b) {
    return a.first8 == b.first8 && a.next4 == b.next4;
}

// A row longer than 2^31 characters is sorted by its first 2^31.
std::pair<const UChar*, int32_t> collatedText(const RowStore& rows, quint32 row) {
    const QStringView view = rows.view(RowIndex(row));
    return {reinterpret_cast<const UChar*>(view.utf16()),
            static_cast<int32_t>(std::min<qsizetype>(view.size(), INT_MAX))};
}

// Writes the key of `row` at the end of `key`; returns its length, the final zero included.
size_t appendSortKey(const RowStore& rows, quint32 row, const UCollator& collator,
                     std::vector<uint8_t>& key) {
    const auto [text, length] = collatedText(rows, row);
    const size_t start = key.size();
    size_t room = std::max<size_t>(64, key.capacity() - start);
    for (;;) {
        key.resize(start + room);
        const int32_t keyLength = ucol_getSortKey(&collator, text, length, key.data() + start,
                                                  static_cast<int32_t>(room));
        if (keyLength == 0) {
            throw std::bad_alloc();  // ICU's only failure here is running out of memory
        }
        if (static_cast<size_t>(keyLength) <= room) {
            key.resize(start + static_cast<size_t>(keyLength));
            return static_cast<size_t>(keyLength);
        }
        room = static_cast<size_t>(keyLength);
    }
}

// The item of `row` with the 12 bytes of its key from `offset` on, zeros past its end.
SortItem itemOf(const uint8_t* key, size_t keyLength, size_t offset, quint32 row, SortOrder order) {
    unsigned char inItem[kKeyBytesInItem] = {};
    if (offset < keyLength) {
        std::memcpy(inItem, key + offset, std::min<size_t>(kKeyBytesInItem, keyLength - offset));
    }
    const quint64 first8 = qFromBigEndian<quint64>(inItem);
    const quint32 next4 = qFromBigEndian<quint32>(inItem + 8);
    const bool up = order == SortOrder::AToZ;
    return {up ? first8 : ~first8, up ? next4 : ~next4, row};
}

// Makes the keys of the rows [begin, end) of `rows`, which only this thread reads, with a
// collator of the thread's own.
void makeKeysOf(const RowStore& rows, qsizetype begin, qsizetype end, const UCollator& collator,
                SortOrder order, SortItem* items, JobProgress& progress) {
    std::vector<uint8_t> key;
    qsizetype credited = begin;
    for (qsizetype at = begin; at < end; ++at) {
        if ((at - begin) % kRowsBetweenLooks == 0) {
            progress.addDone(at - std::exchange(credited, at));
            lookForStop(progress);
        }
        const auto row = static_cast<quint32>(at);
        key.clear();
        const size_t keyLength = appendSortKey(rows, row, collator, key);
        items[at] = itemOf(key.data(), keyLength, 0, row, order);
    }
    progress.addDone(end - credited);
}

// The rows' keys: each thread makes those of one half of the rows, reading them through a
// store of its own.
void makeKeys(const RowStore& rows, const Collators& collators, SortOrder order, SortItem* items,
              JobProgress& progress) {
    const qsizetype count = rows.size();
    const qsizetype middle = count / 2;
    const RowStore secondReader = rows;
    runSideBySide([&] { makeKeysOf(rows, 0, middle, *collators.first, order, items, progress); },
                  [&] {
                      makeKeysOf(secondReader, middle, count, *collators.second, order, items,
                                 progress);
                  });
}

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

// Takes the old rows of a window of the new list out of the old list in the order of their
// row numbers rather than their new places: the old list's places of a hundred million rows
// are far more than the caches and their page tables hold, and read at random nearly every
// row waits for memory twice, where read in order the rows of a window share their pages.
class RowGatherer {
  public:
    // A window of a sixty-fourth of the rows: a few reads a page at any size.
    explicit RowGatherer(qsizetype rows)
        : window_(std::max<qsizetype>(rows / 64, 1 << 12)),
          wanted_(static_cast<size_t>(window_)),
          sorted_(static_cast<size_t>(window_)),
          placed_(static_cast<size_t>(window_)) {
        while ((qsizetype(1) << rowBits_) < rows) {
            ++rowBits_;
        }
    }
    qsizetype window() const { return window_; }

    // Reads the rows `oldRows[0, size)` from `from`, telling `placed(oldRow, place)` where each
    // of them goes in the window.
    template <typename Tell>
    void gather(const RowStore& from, const quint32* oldRows, qsizetype size, Tell&& placed) {
        for (qsizetype place = 0; place < size; ++place) {
            wanted_[place] = {oldRows[place], static_cast<quint32>(place)};
        }
        sortByOldRow(size);
        for (qsizetype i = 0; i < size; ++i) {
            const Wanted wanted = wanted_[i];
            Placed& into = placed_[wanted.place];
            into.source = &from.source(RowIndex(wanted.oldRow), into.span);
            placed(RowIndex(wanted.oldRow), qsizetype(wanted.place));
        }
    }
    void appendTo(RowStore& to, qsizetype size) const {
        for (qsizetype place = 0; place < size; ++place) {
            to.appendSpan(*placed_[place].source, placed_[place].span);
        }
    }

  private:
    struct Wanted {
        quint32 oldRow;
        quint32 place;
    };
    struct Placed {
        const QString* source;
        TextSpan span;
    };
    static constexpr int kDigitBits = 11;

    // By the row numbers' bits, the lowest digit first: each pass keeps the order of the last.
    void sortByOldRow(qsizetype size) {
        for (int shift = 0; shift < rowBits_; shift += kDigitBits) {
            std::array<qsizetype, (1 << kDigitBits) + 1> starts{};
            const auto digit = [shift](const Wanted& wanted) {
                return (wanted.oldRow >> shift) & ((1u << kDigitBits) - 1);
            };
            for (qsizetype i = 0; i < size; ++i) {
                ++starts[digit(wanted_[i]) + 1];
            }
            for (size_t d = 1; d < starts.size(); ++d) {
                starts[d] += starts[d - 1];
            }
            for (qsizetype i = 0; i < size; ++i) {
                sorted_[starts[digit(wanted_[i])]++] = wanted_[i];
            }
            wanted_.swap(sorted_);
        }
    }

    qsizetype window_;
    int rowBits_ = 0;
    std::vector<Wanted> wanted_;
    std::vector<Wanted> sorted_;
    std::vector<Placed> placed_;
};

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
        makeKeys(rows, collators, order, block.items(), progress);

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
        const Collators collators = openCollators(locale);
        return order == SortOrder::AToZ ? sortRows<SortOrder::AToZ>(rows, collators, progress)
                                        : sortRows<SortOrder::ZToA>(rows, collators, progress);
    });
}
