#pragma once

// The new list of a sort (see row_sorting.cpp), made a window at a time. Only the sort's own
// files include this.

#include "core/row_number.h"
#include "core/row_store.h"

#include <vector>

namespace tidy::sorting {

// Takes the old rows of a window of the new list out of the old list in the order of their
// row numbers rather than their new places: the old list's places of a hundred million rows
// are far more than the caches and their page tables hold, and read at random nearly every
// row waits for memory twice, where read in order the rows of a window share their pages.
class RowGatherer {
  public:
    // A window of a sixty-fourth of the rows: a few reads a page at any size.
    explicit RowGatherer(qsizetype rows);
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
    void appendTo(RowStore& to, qsizetype size) const;

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
    void sortByOldRow(qsizetype size);

    qsizetype window_;
    int rowBits_ = 0;
    std::vector<Wanted> wanted_;
    std::vector<Wanted> sorted_;
    std::vector<Placed> placed_;
};

}  // namespace tidy::sorting
