#include "core/row_store.h"

#include <algorithm>

bool RowStore::runHolds(size_t run, qsizetype row) const {
    return run < runs_.size() && runs_[run].firstRow <= row &&
           (run + 1 == runs_.size() || row < runs_[run + 1].firstRow);
}

const RowStore::Run& RowStore::runOf(qsizetype row) const {
    if (static_cast<qsizetype>(runs_.size()) == spans_.size()) {
        return runs_[static_cast<size_t>(row)];  // every row is a text of its own
    }
    // Rows are mostly read in order: the run of the last look-up, or the one after it, saves
    // a search through thousands of runs.
    if (runHolds(runHint_, row)) {
        return runs_[runHint_];
    }
    if (runHolds(runHint_ + 1, row)) {
        return runs_[++runHint_];
    }
    auto after = std::upper_bound(runs_.begin(), runs_.end(), row,
                                  [](qsizetype r, const Run& run) { return r < run.firstRow; });
    runHint_ = static_cast<size_t>(after - runs_.begin()) - 1;
    return runs_[runHint_];
}

void RowStore::append(const QString& text) {
    const auto length = static_cast<quint32>(text.size());
    if (text.size() > kMaxCopiedLength) {
        runs_.push_back({size(), text, false});
        spans_.push_back({0, length});
        totalLength_ += length;
        return;
    }
    // A block grows only in place, within the room it was made with, and only while no one
    // else holds a share of it: its text never moves and never changes under a reader.
    Run* last = runs_.empty() ? nullptr : &runs_.back();
    if (last == nullptr || !last->block || !last->source.isDetached() ||
        last->source.capacity() - last->source.size() < text.size()) {
        QString block;
        block.reserve(std::max(nextBlockCapacity_, text.size()));
        nextBlockCapacity_ = std::min(nextBlockCapacity_ * 2, kMaxBlockCapacity);
        runs_.push_back({size(), std::move(block), true});
        last = &runs_.back();
    }
    const qsizetype offset = last->source.size();
    last->source.append(text);
    spans_.push_back({offset, length});
    totalLength_ += length;
}

void RowStore::remove(qsizetype row) {
    auto runIt = std::upper_bound(runs_.begin(), runs_.end(), row,
                                  [](qsizetype r, const Run& run) { return r < run.firstRow; }) -
                 1;
    totalLength_ -= spans_[row].length;
    spans_.erase(row);
    const qsizetype runEnd = (runIt + 1 == runs_.end()) ? size() + 1 : (runIt + 1)->firstRow;
    for (auto later = runIt + 1; later != runs_.end(); ++later) {
        --later->firstRow;
    }
    if (runEnd - runIt->firstRow == 1) {
        runs_.erase(runIt);  // its only row is gone: let the source text go too
    }
}

void RowStore::clear() {
    std::deque<Run>().swap(runs_);
    nextBlockCapacity_ = kFirstBlockCapacity;
    spans_.clear();
    totalLength_ = 0;
}
