// "Remove Duplicate Rows" and its Ignore Case sibling: the first row of each text stays where it
// was, the later ones go.
//
// A table of every distinct text seen so far misses the caches on nearly every row once the
// list passes a few million rows, and the misses grow worse than the rows (the address cache
// misses too). So the rows are first dealt into partitions by their hash, each small enough that
// its table stays in the core's own cache, and each partition is then deduplicated on its own.
// Only the rows that really repeat (or share 32 bits of hash) read a text out of order.
//
// Both threads work in every pass: the dealing on the two halves of the list, the partitions
// taken in turn. Each reads the rows through a copy of the store of its own, since a store keeps
// the block it last read.

#include "core/fault_injection.h"
#include "core/memory_pages.h"
#include "core/row_tidying.h"
#include "core/tidy_steps.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace tidy::testing {
bool everyRowHashesAlike = false;
}

namespace {

using tidy::kRowsBetweenLooks;
using tidy::lookForStop;

constexpr quint64 kMultiplier = 0x9E3779B97F4A7C15ull;

// Takes `words` whole 8-byte words (four code units each) of `units` into `hash`.
quint64 mixWords(quint64 hash, const char16_t* units, size_t words) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(units);
    for (size_t i = 0; i < words; ++i, bytes += 8) {
        quint64 word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 32;
    }
    return hash;
}

// Takes the last `left` (fewer than four) code units and finishes the hash with the finish of
// MurmurHash3: every bit of the input reaches both halves, which serve as the partition and the
// tag.
quint64 finishHash(quint64 hash, const char16_t* units, size_t left) {
    if (left > 0) {
        quint64 word = 0;
        std::memcpy(&word, units, left * sizeof(char16_t));
        hash = (hash ^ word) * kMultiplier;
    }
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    hash *= 0xC4CEB9FE1A85EC53ull;
    hash ^= hash >> 33;
    return hash;
}

// A hash of a row's UTF-16 code units, eight bytes at a time. Not for defence against chosen
// collisions: equal hashes are always checked against the text, so a poor spread only costs
// time.
quint64 hashOfText(QStringView text) {
    if (tidy::testing::everyRowHashesAlike) {
        return 0;
    }
    const auto units = static_cast<size_t>(text.size());
    const quint64 hash = mixWords(units * sizeof(char16_t) * kMultiplier, text.utf16(), units / 4);
    return finishHash(hash, text.utf16() + units / 4 * 4, units % 4);
}

// Rows are the same when their code units are.
class ExactTexts {
  public:
    quint64 hashOf(QStringView text) { return hashOfText(text); }
    bool same(QStringView a, QStringView b) const { return a == b; }
};

// Folds `piece` into `out` from `at` on through ICU, making room as needed; returns the folded
// length. Full folding makes a piece at most three times as long.
size_t foldWithIcu(std::vector<char16_t>& out, size_t at, QStringView piece) {
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t foldedLength = u_strFoldCase(
            out.data() + at, static_cast<int32_t>(std::min<size_t>(out.size() - at, INT_MAX)),
            piece.utf16(), static_cast<int32_t>(piece.size()), U_FOLD_CASE_DEFAULT, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.resize(at + static_cast<size_t>(foldedLength));
            continue;
        }
        if (U_FAILURE(status)) {
            throw std::bad_alloc();  // folding fails only for want of memory
        }
        return static_cast<size_t>(foldedLength);
    }
}

// The same; a piece of ASCII, most rows, folds without ICU.
inline size_t foldInto(std::vector<char16_t>& out, size_t at, QStringView piece) {
    const auto length = static_cast<size_t>(piece.size());
    if (out.size() < at + length) {
        out.resize(at + length);
    }
    const char16_t* units = piece.utf16();
    char16_t* folded = out.data() + at;
    char16_t bits = 0;
    for (size_t i = 0; i < length; ++i) {
        const char16_t unit = units[i];
        bits |= unit;
        folded[i] = unit >= u'A' && unit <= u'Z' ? char16_t(unit + (u'a' - u'A')) : unit;
    }
    return bits < 0x80 ? length : foldWithIcu(out, at, piece);
}

// Where the piece of `text` from `begin` ends: after at most `pieceUnits` code units, never
// between the halves of a surrogate pair. Full folding maps each code point on its own, whatever
// stands around it, so the foldings of the pieces make the folding of the whole.
qsizetype pieceEnd(QStringView text, qsizetype begin, qsizetype pieceUnits) {
    qsizetype end = std::min(text.size(), begin + pieceUnits);
    if (end < text.size() && QChar::isHighSurrogate(text[end - 1].unicode())) {
        --end;
    }
    return end;
}

// The folding of one text, a piece at a time, as a stream of code units.
class FoldedStream {
  public:
    FoldedStream(QStringView text, qsizetype pieceUnits, std::vector<char16_t>& buffer)
        : text_(text), pieceUnits_(pieceUnits), buffer_(&buffer) {}

    // The folded units not yet taken; empty only at the end of the text.
    QStringView rest() {
        if (at_ == end_ && folded_ < text_.size()) {
            const qsizetype pieceEnds = pieceEnd(text_, folded_, pieceUnits_);
            end_ = foldInto(*buffer_, 0, text_.sliced(folded_, pieceEnds - folded_));
            at_ = 0;
            folded_ = pieceEnds;
        }
        return {buffer_->data() + at_, static_cast<qsizetype>(end_ - at_)};
    }
    void take(qsizetype units) { at_ += static_cast<size_t>(units); }

  private:
    QStringView text_;
    qsizetype pieceUnits_;
    std::vector<char16_t>* buffer_;
    qsizetype folded_ = 0;  // the text's units folded so far
    size_t at_ = 0;         // [at_, end_) of the buffer: folded, not yet taken
    size_t end_ = 0;
};

// Rows are the same when their full case foldings are ("Straße" and "STRASSE"). Each row is
// folded into a scratch buffer only to be hashed. A row longer than a piece is folded and
// compared a piece at a time, so that every unit of it counts, however long it is.
class FoldedTexts {
  public:
    quint64 hashOf(QStringView text) {
        if (tidy::testing::everyRowHashesAlike) {
            return 0;
        }
        if (text.size() <= pieceUnits_) {
            const size_t units = foldInto(folded_, 0, text);
            const quint64 hash = mixWords(0, folded_.data(), units / 4);
            return finishHash(hash ^ (units * sizeof(char16_t) * kMultiplier),
                              folded_.data() + units / 4 * 4, units % 4);
        }
        // The hash of the folded units, the same as above whatever the pieces: whole words are
        // taken in as each piece is folded, and the up to three left over go before the next
        // piece.
        quint64 hash = 0;
        size_t carried = 0;
        size_t foldedUnits = 0;
        for (qsizetype begin = 0; begin < text.size();) {
            const qsizetype end = pieceEnd(text, begin, pieceUnits_);
            const size_t units =
                carried + foldInto(folded_, carried, text.sliced(begin, end - begin));
            foldedUnits += units - carried;
            hash = mixWords(hash, folded_.data(), units / 4);
            carried = units % 4;
            std::copy_n(folded_.data() + units / 4 * 4, carried, folded_.data());
            begin = end;
        }
        return finishHash(hash ^ (foldedUnits * sizeof(char16_t) * kMultiplier), folded_.data(),
                          carried);
    }
    bool same(QStringView a, QStringView b) {
        // Most repeats are exact copies; ICU's comparison folds as it goes, several times slower.
        if (a == b) {
            return true;
        }
        if (a.size() <= pieceUnits_ && b.size() <= pieceUnits_) {
            UErrorCode status = U_ZERO_ERROR;
            const bool equal =
                u_strCaseCompare(a.utf16(), static_cast<int32_t>(a.size()), b.utf16(),
                                 static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status) == 0;
            if (U_FAILURE(status)) {
                throw std::bad_alloc();
            }
            return equal;
        }
        // A piece's folding may be longer than the piece ("ß" to "ss"): the two rows' pieces do
        // not line up, their folded streams do.
        FoldedStream first(a, pieceUnits_, foldedA_);
        FoldedStream second(b, pieceUnits_, foldedB_);
        for (;;) {
            const QStringView x = first.rest();
            const QStringView y = second.rest();
            if (x.isEmpty() || y.isEmpty()) {
                return x.isEmpty() && y.isEmpty();
            }
            const qsizetype units = std::min(x.size(), y.size());
            if (x.first(units) != y.first(units)) {
                return false;
            }
            first.take(units);
            second.take(units);
        }
    }

  private:
    // ICU takes lengths of 32 bits, and a piece may fold to three times its length.
    const qsizetype pieceUnits_ =
        std::clamp<qsizetype>(FaultInjection::caseFoldingPieceUnits, 2, INT_MAX / 4);
    std::vector<char16_t> folded_ = std::vector<char16_t>(256);
    std::vector<char16_t> foldedA_;
    std::vector<char16_t> foldedB_;
};

// A row dealt into its partition: its number and the low half of its hash.
struct Dealt {
    quint32 row;
    quint32 tag;
};

// Partitions of about this many rows keep their table (8 bytes a slot, at most three quarters
// full: 256 KB) in a core's own cache.
constexpr qsizetype kRowsPerPartition = 16384;
// The dealing writes to one place in each partition at a time: beyond a thousand of them, the
// places no longer stay in the caches. Partitions of more rows then have tables of up to 1 MB,
// still in the shared cache.
constexpr int kMostPartitionBits = 10;

int partitionBitsFor(qsizetype rows) {
    int bits = 0;
    while (bits < kMostPartitionBits && (rows >> bits) > kRowsPerPartition) {
        ++bits;
    }
    return bits;
}

// The first row of each tag of one partition: an open-addressing table of row numbers, each
// slot with its row's tag. Every later row of a tag is a candidate to check against the first;
// since the first of each text has the tag of its text, none is missed.
class FirstRows {
  public:
    void startPartition(qsizetype rows) {
        size_t capacity = 16;
        while (capacity / 4 * 3 < static_cast<size_t>(rows)) {
            capacity *= 2;
        }
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
    }

    // The first row with the same tag, or none when `dealt` is the first: then it is added.
    std::optional<quint32> add(Dealt dealt) {
        for (size_t slot = dealt.tag & mask_;; slot = (slot + 1) & mask_) {
            Slot& at = slots_[slot];
            if (at.rowPlusOne == 0) {
                at = {dealt.row + 1, dealt.tag};
                return std::nullopt;
            }
            if (at.tag == dealt.tag) {
                return at.rowPlusOne - 1;
            }
        }
    }

  private:
    struct Slot {
        quint32 rowPlusOne = 0;  // 0: free
        quint32 tag = 0;
    };
    std::vector<Slot> slots_;
    size_t mask_ = 0;
};

// A row that repeats an earlier row's tag: a duplicate once their texts agree.
struct Candidate {
    quint32 row;
    quint32 earlier;
    quint32 tag;
};

// Keeps the candidates whose texts agree with an earlier row's. The rows lie all over the list
// and nearly every read misses the caches: the places of rows a few candidates ahead, and the
// texts of those a few ahead of them, are asked for early, so that the waits overlap.
template <typename Texts>
void keepDuplicates(std::vector<Candidate>& candidates, const RowStore& rows, Texts& texts) {
    constexpr size_t kAhead = 8;
    const size_t count = candidates.size();
    std::pair<QStringView, QStringView> views[kAhead];
    std::vector<Candidate> others;
    size_t kept = 0;
    for (size_t i = 0; i < count + 2 * kAhead; ++i) {
        if (i < count) {
            rows.prefetch(RowIndex(candidates[i].row));
            rows.prefetch(RowIndex(candidates[i].earlier));
        }
        // The oldest pair is compared before its place in the ring takes the next.
        if (i >= 2 * kAhead) {
            const auto& pair = views[i % kAhead];
            const Candidate& candidate = candidates[i - 2 * kAhead];
            if (texts.same(pair.first, pair.second)) {
                candidates[kept++] = candidate;  // never ahead of what is still to be read
            } else {
                others.push_back(candidate);
            }
        }
        if (i >= kAhead && i - kAhead < count) {
            const Candidate& candidate = candidates[i - kAhead];
            auto& pair = views[i % kAhead];
            pair = {rows.view(RowIndex(candidate.row)), rows.view(RowIndex(candidate.earlier))};
            __builtin_prefetch(pair.first.data());
            __builtin_prefetch(pair.second.data());
        }
    }
    candidates.resize(kept);
    // Rows whose tag alone agreed with the first row of that tag (about one in a partition of
    // a hundred thousand rows), in row order: each repeats the first of them with its text, or
    // is such a first itself.
    std::vector<Candidate> firsts;
    for (const Candidate& other : others) {
        const QStringView text = rows.view(RowIndex(other.row));
        const auto first = std::find_if(firsts.begin(), firsts.end(), [&](const Candidate& first) {
            return first.tag == other.tag && texts.same(rows.view(RowIndex(first.row)), text);
        });
        if (first != firsts.end()) {
            candidates.push_back({other.row, first->row, other.tag});
        } else {
            firsts.push_back(other);
        }
    }
}

template <typename Texts>
TidyResult removeDuplicates(const RowStore& rows, JobProgress& progress) {
    const qsizetype count = rows.size();
    // Hashing, dealing and deduplicating, then the new list.
    progress.setTotal(4 * count);
    const int bits = partitionBitsFor(count);
    const size_t partitions = size_t(1) << bits;
    const auto partitionOf = [bits](quint64 hash) {
        return bits == 0 ? size_t(0) : static_cast<size_t>(hash >> (64 - bits));
    };
    // Each thread reads through its own copy (a pointer a block).
    const RowStore second = rows;
    const RowStore* const stores[2] = {&rows, &second};
    const qsizetype halfway = count / 2;
    const qsizetype begins[3] = {0, halfway, count};

    // 4 bytes a row: first whether each row stays (0) or goes, then its new number.
    RowMap map(count);
    // The rows of each partition from each half: 8 bytes a partition and thread.
    std::vector<qsizetype> starts[2] = {std::vector<qsizetype>(partitions + 1),
                                        std::vector<qsizetype>(partitions + 1)};
    const auto eachHalf = [&](auto work) {
        tidy::runSideBySide([&] { work(0); }, [&] { work(1); });
    };
    eachHalf([&](int half) {
        Texts texts;
        std::vector<qsizetype>& counts = starts[half];
        for (qsizetype row = begins[half]; row < begins[half + 1]; ++row) {
            if (row % kRowsBetweenLooks == 0) {
                lookForStop(progress);
                progress.addDone(std::min(kRowsBetweenLooks, begins[half + 1] - row));
            }
            ++counts[partitionOf(texts.hashOf(stores[half]->view(RowIndex(row))))];
            map.set(RowIndex(row), RowIndex(0));
        }
    });
    // Each partition holds the first half's rows, then the second's: in row order.
    std::vector<qsizetype> partitionStarts(partitions + 1);
    qsizetype next = 0;
    for (size_t p = 0; p < partitions; ++p) {
        partitionStarts[p] = next;
        const qsizetype fromFirst = starts[0][p];
        const qsizetype fromSecond = starts[1][p];
        starts[0][p] = next;
        starts[1][p] = next + fromFirst;
        next += fromFirst + fromSecond;
    }
    partitionStarts[partitions] = next;

    {
        // 8 bytes a row, let go before the new list is made. Not in huge pages: the dealing
        // writes to thousands of places far apart, which huge pages would serve better, but
        // where free memory has gone cold (a virtual machine gives it back to its host) a huge
        // page costs several times a small one to fault in: up to 3 s a gigabyte here.
        const std::unique_ptr<Dealt[], DeleteGivingBackPages<Dealt>> dealt(
            new Dealt[static_cast<size_t>(count)],
            DeleteGivingBackPages<Dealt>{static_cast<size_t>(count)});
        eachHalf([&](int half) {
            Texts texts;
            std::vector<qsizetype>& at = starts[half];
            for (qsizetype row = begins[half]; row < begins[half + 1]; ++row) {
                if (row % kRowsBetweenLooks == 0) {
                    lookForStop(progress);
                    progress.addDone(std::min(kRowsBetweenLooks, begins[half + 1] - row));
                }
                const quint64 hash = texts.hashOf(stores[half]->view(RowIndex(row)));
                dealt[at[partitionOf(hash)]++] = {static_cast<quint32>(row),
                                                  static_cast<quint32>(hash)};
            }
        });

        std::atomic<size_t> nextPartition{0};
        std::atomic<bool> anyGone{false};
        eachHalf([&](int half) {
            Texts texts;
            FirstRows firstRows;
            std::vector<Candidate> candidates;
            for (size_t p = nextPartition++; p < partitions; p = nextPartition++) {
                lookForStop(progress);
                const qsizetype begin = partitionStarts[p];
                const qsizetype end = partitionStarts[p + 1];
                // Tags agree nearly only where the texts do: the texts are checked after the
                // partition, all in one go.
                candidates.clear();
                firstRows.startPartition(end - begin);
                for (qsizetype i = begin; i < end; ++i) {
                    if (const auto earlier = firstRows.add(dealt[i])) {
                        candidates.push_back({dealt[i].row, *earlier, dealt[i].tag});
                    }
                }
                keepDuplicates(candidates, *stores[half], texts);
                for (const Candidate& candidate : candidates) {
                    map.set(RowIndex(candidate.row), std::nullopt);
                }
                if (!candidates.empty()) {
                    anyGone = true;
                }
                progress.addDone(end - begin);
            }
        });
        if (!anyGone) {
            progress.setDone(progress.total());
            return TidyResult{};
        }
    }

    TidyResult result;
    result.outcome = TidyOutcome::Changed;
    result.rows = std::make_unique<RowStore>();
    // Most rows stay; the room of the few that go is never touched, so it costs nothing.
    result.rows->reserveMore(count);
    qsizetype kept = 0;
    for (RowIndex row{0}; row < RowIndex(count); ++row) {
        if (row.get() % kRowsBetweenLooks == 0) {
            lookForStop(progress);
            progress.addDone(std::min(kRowsBetweenLooks, count - row.get()));
        }
        if (map.newRowOf(row)) {
            map.set(row, RowIndex(kept++));
            tidy::appendRow(*result.rows, rows, row);
        }
    }
    result.newRows = std::move(map);
    progress.setDone(progress.total());
    return result;
}

}  // namespace

TidyResult RemoveDuplicateRows(const RowStore& rows, JobProgress& progress) {
    return tidy::stoppable(rows, [&] { return removeDuplicates<ExactTexts>(rows, progress); });
}

TidyResult RemoveDuplicateRowsIgnoringCase(const RowStore& rows, JobProgress& progress) {
    return tidy::stoppable(rows, [&] { return removeDuplicates<FoldedTexts>(rows, progress); });
}
