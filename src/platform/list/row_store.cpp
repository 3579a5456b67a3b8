#include "platform/list/row_store.h"

#include <algorithm>

const RowStore::Run& RowStore::runOf(qsizetype row) const {
    if (static_cast<qsizetype>(runs_.size()) == spans_.size()) {
        return runs_[static_cast<size_t>(row)];  // every row is a text of its own
    }
    auto after = std::upper_bound(runs_.begin(), runs_.end(), row,
                                  [](qsizetype r, const Run& run) { return r < run.firstRow; });
    return *(after - 1);
}

void RowStore::append(const QString& text) {
    runs_.push_back({size(), text});
    spans_.push_back({0, static_cast<quint32>(text.size())});
    totalLength_ += text.size();
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
    spans_.clear();
    totalLength_ = 0;
}
