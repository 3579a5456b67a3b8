#include "core/row_tidying.h"

#include "core/tidy_steps.h"

#include <algorithm>
#include <vector>

using tidy::kRowsBetweenLooks;
using tidy::lookForStop;

RowMap::RowMap(qsizetype oldRows)
    : newRows_(new quint32[static_cast<size_t>(oldRows)],
               DeleteGivingBackPages<quint32>{static_cast<size_t>(oldRows)}) {}

TidyResult TidyRows(const RowStore& rows, TidyAction action, JobProgress& progress,
                    const QLocale& locale) {
    switch (action) {
        case TidyAction::TrimSpaces:
            return TrimSpaces(rows, progress);
        case TidyAction::RemoveEmptyRows:
            return RemoveEmptyRows(rows, progress);
        case TidyAction::RemoveDuplicateRows:
            return RemoveDuplicateRows(rows, progress);
        case TidyAction::RemoveDuplicateRowsIgnoringCase:
            return RemoveDuplicateRowsIgnoringCase(rows, progress);
        case TidyAction::SortAToZ:
            return SortRows(rows, SortOrder::AToZ, locale, progress);
        case TidyAction::SortZToA:
            return SortRows(rows, SortOrder::ZToA, locale, progress);
    }
    return {};
}

namespace {

// The result of an action that keeps some rows in their order and drops the others. Nothing is
// made until the first row goes, so a list the action leaves alone costs no memory.
class KeptRows {
  public:
    explicit KeptRows(const RowStore& rows) : rows_(rows) {}

    void keep(RowIndex row) {
        if (out_) {
            map_.set(row, RowIndex(out_->size()));
            tidy::appendRow(*out_, rows_, row);
        }
    }
    void drop(RowIndex row) {
        if (!out_) {
            start(row);
        }
        map_.set(row, std::nullopt);
    }

    TidyResult finish() {
        TidyResult result;
        if (out_) {
            result.outcome = TidyOutcome::Changed;
            result.rows = std::move(out_);
            result.newRows = std::move(map_);
        }
        return result;
    }

  private:
    void start(RowIndex firstDropped) {
        out_ = std::make_unique<RowStore>();
        // Most rows stay; the room of the few that go is never touched, so it costs nothing.
        out_->reserveMore(rows_.size());
        map_ = RowMap(rows_.size());
        for (RowIndex row{0}; row < firstDropped; ++row) {
            map_.set(row, row);
            tidy::appendRow(*out_, rows_, row);
        }
    }

    const RowStore& rows_;
    std::unique_ptr<RowStore> out_;
    RowMap map_;
};

TextSpan withoutOuterSpaces(const QString& source, TextSpan span) {
    // A space is never outside the BMP, so a surrogate code unit is never taken for one and a
    // pair is never cut.
    const QChar* text = source.constData() + span.offset;
    quint32 begin = 0;
    quint32 end = span.length;
    while (begin < end && text[begin].isSpace()) {
        ++begin;
    }
    while (end > begin && text[end - 1].isSpace()) {
        --end;
    }
    return {span.offset + begin, end - begin};
}

}  // namespace

TidyResult TrimSpaces(const RowStore& rows, JobProgress& progress) {
    return tidy::stoppable(rows, [&] {
        const qsizetype count = rows.size();
        progress.setTotal(count);
        // Until a row changes, only look; the rows before it are then taken as they are.
        std::unique_ptr<RowStore> out;
        for (RowIndex row{0}; row < RowIndex(count); ++row) {
            if (row.get() % kRowsBetweenLooks == 0) {
                progress.setDone(row.get());
                lookForStop(progress);
            }
            TextSpan span;
            const QString& source = rows.source(row, span);
            const TextSpan trimmed = withoutOuterSpaces(source, span);
            if (!out) {
                if (trimmed.length == span.length) {
                    continue;
                }
                out = std::make_unique<RowStore>();
                out->reserveMore(count);
                for (RowIndex before{0}; before < row; ++before) {
                    tidy::appendRow(*out, rows, before);
                }
            }
            out->appendSpan(source, trimmed);
        }
        progress.setDone(count);
        TidyResult result;
        if (out) {
            result.outcome = TidyOutcome::Changed;
            result.rows = std::move(out);  // every row where it was: the map stays empty
        }
        return result;
    });
}

TidyResult RemoveEmptyRows(const RowStore& rows, JobProgress& progress) {
    return tidy::stoppable(rows, [&] {
        const qsizetype count = rows.size();
        progress.setTotal(count);
        KeptRows kept(rows);
        for (RowIndex row{0}; row < RowIndex(count); ++row) {
            if (row.get() % kRowsBetweenLooks == 0) {
                progress.setDone(row.get());
                lookForStop(progress);
            }
            if (rows.length(row) == 0) {
                kept.drop(row);
            } else {
                kept.keep(row);
            }
        }
        progress.setDone(count);
        return kept.finish();
    });
}

namespace {

// Where each row of the first list went through two actions in turn.
RowMap followBoth(RowMap first, RowMap then, qsizetype firstRows) {
    if (first.keepsEveryRowInPlace()) {
        return then;
    }
    if (then.keepsEveryRowInPlace()) {
        return first;
    }
    RowMap both(firstRows);
    for (RowIndex row{0}; row < RowIndex(firstRows); ++row) {
        const std::optional<RowIndex> middle = first.newRowOf(row);
        both.set(row, middle ? then.newRowOf(*middle) : std::nullopt);
    }
    return both;
}

}  // namespace

TidyResult CleanUpRows(const RowStore& rows, const CleanUpSteps& steps, JobProgress& progress,
                       const QLocale& locale) {
    std::vector<TidyAction> actions;
    if (steps.trimSpaces) {
        actions.push_back(TidyAction::TrimSpaces);
    }
    if (steps.removeEmptyRows) {
        actions.push_back(TidyAction::RemoveEmptyRows);
    }
    if (steps.removeDuplicateRows) {
        actions.push_back(steps.ignoreCase ? TidyAction::RemoveDuplicateRowsIgnoringCase
                                           : TidyAction::RemoveDuplicateRows);
    }
    if (steps.sort) {
        actions.push_back(*steps.sort == SortOrder::AToZ ? TidyAction::SortAToZ
                                                         : TidyAction::SortZToA);
    }
    TidyResult done;  // Unchanged until a step changes something
    for (const TidyAction action : actions) {
        const RowStore& current = done.rows ? *done.rows : rows;
        TidyResult step = TidyRows(current, action, progress, locale);
        if (step.outcome == TidyOutcome::Stopped) {
            return step;
        }
        if (step.outcome != TidyOutcome::Changed) {
            continue;
        }
        // The list before this step goes as soon as the step has made the next.
        done.newRows =
            done.rows ? followBoth(std::move(done.newRows), std::move(step.newRows), rows.size())
                      : std::move(step.newRows);
        done.rows = std::move(step.rows);
        done.outcome = TidyOutcome::Changed;
    }
    return done;
}
