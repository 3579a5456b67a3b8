#pragma once

// The sort's keys (see row_sorting.cpp): ICU collators set for the sort, and the items that
// carry the first bytes of each row's key. Only the sort's own files include this.

#include "core/background_job.h"
#include "core/row_store.h"
#include "core/row_tidying.h"

#include <QLocale>
#include <QtEndian>

#include <unicode/ucol.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace tidy::sorting {

struct CloseCollator {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using Collator = std::unique_ptr<UCollator, CloseCollator>;

// A collator for each of the two threads, so that they share no state of ICU's.
struct Collators {
    Collator first;
    Collator second;
};

// Throws a Failure when the locale's order is not available, std::bad_alloc when ICU finds no
// memory.
Collators openCollators(const QLocale& locale);

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

inline bool samePrefix(const SortItem& a, const SortItem& b) {
    return a.first8 == b.first8 && a.next4 == b.next4;
}

// A row longer than 2^31 characters is sorted by its first 2^31.
inline std::pair<const UChar*, int32_t> collatedText(const RowStore& rows, quint32 row) {
    const QStringView view = rows.view(RowIndex(row));
    return {reinterpret_cast<const UChar*>(view.utf16()),
            static_cast<int32_t>(std::min<qsizetype>(view.size(), INT_MAX))};
}

// Writes the key of `row` at the end of `key`; returns its length, the final zero included.
size_t appendSortKey(const RowStore& rows, quint32 row, const UCollator& collator,
                     std::vector<uint8_t>& key);

// The item of `row` with the 12 bytes of its key from `offset` on, zeros past its end.
inline SortItem itemOf(const uint8_t* key, size_t keyLength, size_t offset, quint32 row,
                       SortOrder order) {
    unsigned char inItem[kKeyBytesInItem] = {};
    if (offset < keyLength) {
        std::memcpy(inItem, key + offset, std::min<size_t>(kKeyBytesInItem, keyLength - offset));
    }
    const quint64 first8 = qFromBigEndian<quint64>(inItem);
    const quint32 next4 = qFromBigEndian<quint32>(inItem + 8);
    const bool up = order == SortOrder::AToZ;
    return {up ? first8 : ~first8, up ? next4 : ~next4, row};
}

// The rows' keys: each thread makes those of one half of the rows, reading them through a
// store of its own.
void makeKeys(const RowStore& rows, const Collators& collators, SortOrder order, SortItem* items,
              JobProgress& progress);

}  // namespace tidy::sorting
