#pragma once

#include "core/row_number.h"
#include "core/row_store.h"

#include <deque>
#include <optional>

// The states a list can go back to, the newest last. A state is a copy of the list's rows,
// which shares their blocks and their text: it costs a pointer per block of rows until the
// list changes, and then only the blocks that changed.
class RowHistory {
  public:
    static constexpr int kSteps = 20;

    struct State {
        RowStore rows;
        std::optional<RowNumber> selectedRow;
    };

    bool empty() const { return states_.empty(); }

    void remember(State state) {
        states_.push_back(std::move(state));
        if (states_.size() > kSteps) {
            states_.pop_front();
        }
    }
    State takeNewest() {
        State newest = std::move(states_.back());
        states_.pop_back();
        return newest;
    }
    void clear() { std::deque<State>().swap(states_); }

  private:
    std::deque<State> states_;
};
