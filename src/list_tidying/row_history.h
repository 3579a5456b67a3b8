#pragma once

#include "core/row_number.h"
#include "core/row_store.h"

#include <QtGlobal>

#include <algorithm>
#include <deque>
#include <optional>

// The states a list can go back to, the newest last. A state is a copy of the list's rows,
// which shares their blocks and their text: it costs a pointer per block of rows until the
// list changes, and then only the blocks that changed.
//
// A sort changes every block, so each sort's state is a full copy of the list's places: 8
// bytes a row. Besides the count of steps, the states together are bounded by a budget of
// rows relative to the list: a tidy action needs about two copies of the list of its own at
// its peak, and a history of more than a few copies is what would leave it none. The floor
// keeps all the steps of any list of up to a million rows.
class RowHistory {
  public:
    static constexpr int kSteps = 20;
    static constexpr qsizetype kListCopies = 4;
    static constexpr qsizetype kFloorRows = 20'000'000;

    struct State {
        RowStore rows;
        std::optional<RowNumber> selectedRow;
    };

    bool empty() const { return states_.empty(); }

    // `listRows`: the size of the list as it is now. Returns whether older steps gave way for
    // memory (not merely for the count).
    bool remember(State state, qsizetype listRows) {
        keptRows_ += state.rows.size();
        states_.push_back(std::move(state));
        if (states_.size() > kSteps) {
            dropOldest();
        }
        const qsizetype budget = std::max(kFloorRows, kListCopies * listRows);
        bool dropped = false;
        while (keptRows_ > budget && states_.size() > 1) {
            dropOldest();
            dropped = true;
        }
        return dropped;
    }
    // Lets the oldest state go, to make room in memory. False when there was none.
    bool dropOldest() {
        if (states_.empty()) {
            return false;
        }
        keptRows_ -= states_.front().rows.size();
        states_.pop_front();
        return true;
    }
    State takeNewest() {
        State newest = std::move(states_.back());
        states_.pop_back();
        keptRows_ -= newest.rows.size();
        return newest;
    }
    void clear() {
        std::deque<State>().swap(states_);
        keptRows_ = 0;
    }

  private:
    std::deque<State> states_;
    qsizetype keptRows_ = 0;  // counted as if no state shared a block with another
};
