#include "core/row_tidying.h"

#include "core/huge_pages.h"
#include "core/tidy_steps.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

using tidy::kRowsBetweenLooks;
using tidy::lookForStop;

RowMap::RowMap(qsizetype oldRows)
    : newRows_(std::make_unique_for_overwrite<quint32[]>(static_cast<size_t>(oldRows))) {}

TidyResult TidyRows(const RowStore& rows, TidyAction action, JobProgress& progress,
                    const QLocale& locale) {
    switch (action) {
        case TidyAction::TrimSpaces:
            return TrimSpaces(rows, progress);
        case TidyAction::RemoveEmptyRows:
            return RemoveEmptyRows(rows, progress);
        case TidyAction::RemoveDuplicateRows:
            return RemoveDuplicateRows(rows, progress);
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

// A hash of a row's UTF-16 code units, eight bytes at a time. Not for defence against chosen
// collisions: equal hashes are always checked against the text, so a poor spread only costs
// time.
quint64 hashOfText(QStringView text) {
    constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15ull;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    size_t left = static_cast<size_t>(text.size()) * sizeof(char16_t);
    quint64 hash = left * kMultiplier;
    for (; left >= 8; left -= 8, bytes += 8) {
        quint64 word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 32;
    }
    if (left > 0) {
        quint64 word = 0;
        std::memcpy(&word, bytes, left);
        hash = (hash ^ word) * kMultiplier;
    }
    // The finish of MurmurHash3: every bit of the input reaches both halves, which serve as
    // the slot number and the tag.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ull;
    hash ^= hash >> 33;
    return hash;
}

// The first row of each distinct text seen so far: an open-addressing table of row numbers.
// Each slot carries 32 bits of its row's hash, so a probe reads the row's text (elsewhere in
// memory) only when it is very likely the same text. Eight bytes a slot, at most three quarters
// full: 128 MB for ten million rows.
class FirstRowsOfTexts {
  public:
    explicit FirstRowsOfTexts(qsizetype rows) {
        size_t capacity = 1024;
        while (capacity / 4 * 3 < static_cast<size_t>(rows)) {
            capacity *= 2;
        }
        // calloc: the system hands out zeroed pages as they are first touched, with no pass
        // over the whole table before the first row.
        slots_.reset(static_cast<Slot*>(std::calloc(capacity, sizeof(Slot))));
        if (!slots_) {
            throw std::bad_alloc();
        }
        // Every look-up lands on a page of its own: without huge pages, each also misses the
        // address cache.
        PreferHugePages(slots_.get(), capacity * sizeof(Slot));
        mask_ = capacity - 1;
    }

    // Where a text's look-up starts; asking for it early lets the memory fetch it meanwhile.
    const void* firstSlot(quint64 hash) const { return &slots_[(hash >> 32) & mask_]; }

    // True when `row` is the first with its text; false when an earlier row has the same text.
    bool add(const RowStore& rows, RowIndex row, QStringView text, quint64 hash) {
        const auto tag = static_cast<quint32>(hash);
        for (size_t slot = (hash >> 32) & mask_;; slot = (slot + 1) & mask_) {
            Slot& at = slots_[slot];
            if (at.rowPlusOne == 0) {
                at = {static_cast<quint32>(row.get() + 1), tag};
                return true;
            }
            if (at.tag == tag && rows.view(RowIndex(at.rowPlusOne - 1)) == text) {
                return false;
            }
        }
    }

  private:
    struct Slot {
        quint32 rowPlusOne;  // 0: free
        quint32 tag;
    };
    struct Free {
        void operator()(Slot* table) const { std::free(table); }
    };
    std::unique_ptr<Slot[], Free> slots_;
    size_t mask_ = 0;
};

}  // namespace

TidyResult RemoveDuplicateRows(const RowStore& rows, JobProgress& progress) {
    return tidy::stoppable(rows, [&] {
        const qsizetype count = rows.size();
        progress.setTotal(count);
        FirstRowsOfTexts firstRows(count);
        KeptRows kept(rows);
        // Nearly every look-up misses the caches: the rows are hashed a few ahead and their
        // slots fetched meanwhile, so that the waits overlap.
        constexpr qsizetype kAhead = 16;
        QStringView texts[kAhead];
        quint64 hashes[kAhead];
        for (qsizetype row = 0; row < count + kAhead; ++row) {
            if (row % kRowsBetweenLooks == 0) {
                progress.setDone(std::min(row, count));
                lookForStop(progress);
            }
            const qsizetype ring = row % kAhead;
            const RowIndex earlier(row - kAhead);
            if (earlier >= RowIndex(0)) {
                if (firstRows.add(rows, earlier, texts[ring], hashes[ring])) {
                    kept.keep(earlier);
                } else {
                    kept.drop(earlier);
                }
            }
            if (row < count) {
                texts[ring] = rows.view(RowIndex(row));
                hashes[ring] = hashOfText(texts[ring]);
                __builtin_prefetch(firstRows.firstSlot(hashes[ring]), 1);
            }
        }
        progress.setDone(count);
        return kept.finish();
    });
}
