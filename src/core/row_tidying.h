#pragma once

#include "core/background_job.h"
#include "core/memory_pages.h"
#include "core/row_number.h"
#include "core/row_store.h"

#include <QLocale>

#include <memory>
#include <optional>

// "Tidy the results": computations over a list's rows that make a new list of narrower or
// fewer or reordered spans of the same source texts; no row's text is copied.
//
// Each runs on a worker thread, on a RowStore of its own that nobody changes meanwhile (the
// window keeps showing its original). It reads that store from the calling thread only, so the
// store needs no locking; the sort has a second thread of its own work on keys it made.
// Nothing touches the input: a computation that throws (std::bad_alloc, or a Failure when the
// collator cannot be opened) leaves it as it was.

enum class TidyAction {
    TrimSpaces,
    RemoveEmptyRows,
    RemoveDuplicateRows,
    RemoveDuplicateRowsIgnoringCase,
    SortAToZ,
    SortZToA
};

enum class TidyOutcome {
    Changed,    // `rows` and `newRows` of the result hold the new list
    Unchanged,  // the action would give the same list: keep the old one, nothing to undo
    Stopped,    // a stop request was seen (every few thousand rows); nothing was made
};

// Where each row of the old list went, so that a selection can follow its row. Four bytes an
// old row (40 MB for ten million); an action that keeps every row where it was needs none.
class RowMap {
  public:
    static constexpr quint32 kGone = 0xFFFFFFFFu;

    RowMap() = default;  // every row stays where it was
    explicit RowMap(qsizetype oldRows);

    // The row's place in the new list, or none when the action removed it.
    std::optional<RowIndex> newRowOf(RowIndex oldRow) const {
        if (!newRows_) {
            return oldRow;
        }
        const quint32 row = newRows_[oldRow.get()];
        return row == kGone ? std::nullopt : std::optional(RowIndex(row));
    }
    bool keepsEveryRowInPlace() const { return !newRows_; }

    void set(RowIndex oldRow, std::optional<RowIndex> newRow) {
        newRows_[oldRow.get()] = newRow ? static_cast<quint32>(newRow->get()) : kGone;
    }

  private:
    std::unique_ptr<quint32[], DeleteGivingBackPages<quint32>> newRows_;
};

struct TidyResult {
    TidyOutcome outcome = TidyOutcome::Unchanged;
    std::unique_ptr<RowStore> rows;  // the new list, when Changed
    RowMap newRows;                  // old row -> new row, when Changed
};

// Sorting follows `locale`, the desktop's language by default (see row_sorting.cpp).
TidyResult TidyRows(const RowStore& rows, TidyAction action, JobProgress& progress,
                    const QLocale& locale = QLocale());

TidyResult TrimSpaces(const RowStore& rows, JobProgress& progress);
TidyResult RemoveEmptyRows(const RowStore& rows, JobProgress& progress);
TidyResult RemoveDuplicateRows(const RowStore& rows, JobProgress& progress);
// Rows equal under full Unicode case folding are duplicates; the first stays as it is.
TidyResult RemoveDuplicateRowsIgnoringCase(const RowStore& rows, JobProgress& progress);
enum class SortOrder { AToZ, ZToA };
TidyResult SortRows(const RowStore& rows, SortOrder order, const QLocale& locale,
                    JobProgress& progress);

// The steps of "Clean Up", which run in this order, each on what the one before left: trimming
// comes first so that " a" and "a " are then found to be duplicates, and the sort last so that
// it sorts only the rows that stay.
struct CleanUpSteps {
    bool trimSpaces = true;
    bool removeEmptyRows = true;
    bool removeDuplicateRows = true;
    bool ignoreCase = false;  // of the duplicates
    std::optional<SortOrder> sort;

    bool any() const { return trimSpaces || removeEmptyRows || removeDuplicateRows || sort; }
};

// Changed when any step changed the list; the row map goes from the first list to the last.
TidyResult CleanUpRows(const RowStore& rows, const CleanUpSteps& steps, JobProgress& progress,
                       const QLocale& locale = QLocale());
