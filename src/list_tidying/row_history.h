#pragma once

#include "core/row_number.h"
#include "core/row_store.h"
#include "list_tidying/let_go_elsewhere.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <deque>
#include <optional>
#include <unordered_set>
#include <utility>

// The states a list can go back to, the newest last, and the states an undo left, which a
// redo goes forward to until a new change makes them meaningless. A state is a copy of the list's
// rows, which shares their blocks and their text: it costs a pointer per block of rows until the
// list changes, and then only the blocks that changed.
//
// A run that appends results goes on while the user clears or deletes rows, and its later rows
// are not part of that change: undoing it gives back the state's rows with every row appended
// since the change after them, and a redo takes the list back to what the undo replaced.
//
// A state costs what it alone holds: a Delete's state shares all but one block with the list
// (64 KB), a sort's state holds a full copy of the list's places (8 bytes a row). Besides the
// count of steps, the rows the states hold apart from the list are bounded by a budget
// relative to the list: a tidy action needs about two copies of the list of its own at its
// peak, and a history holding more than a few copies is what would leave it none. The floor
// keeps all twenty steps of a list of up to a million rows, even twenty sorts of it.
class RowHistory {
  public:
    static constexpr int kSteps = 20;
    static constexpr qsizetype kListCopies = 4;
    static constexpr qsizetype kFloorRows = 20'000'000;

    struct State {
        RowStore rows;
        std::optional<RowNumber> selectedRow;
        // The change between this state and the list, as its menu names it ("Sort A to Z").
        QString change;
        // The list's row count right after the change; what it has beyond that was appended
        // since. Unknown (below 0) is taken as the state's own count: no change yet.
        qsizetype rowsAfterChange = -1;
        // The rows of blocks the next newer state does not hold, once there is one.
        qsizetype heldBeyondNewer = 0;
    };

    bool empty() const { return states_.empty(); }
    bool canRedo() const { return !undone_.empty(); }

    // A new change: what an undo left can no longer be gone forward to.
    void remember(State state) {
        if (!undone_.empty()) {
            LetGoElsewhere(std::exchange(undone_, {}));
        }
        keep(std::move(state));
    }
    // Describes the change after the newest state once it has happened (a removal's kind, and
    // the rows it left).
    void newestChanged(const QString& change, qsizetype rowsAfter) {
        if (!states_.empty()) {
            states_.back().change = change;
            states_.back().rowsAfterChange = rowsAfter;
        }
    }
    // `list` is the list as it is now; it becomes what a redo brings back. Takes the newest
    // state, which must exist, with the change it undoes and the rows appended since after its
    // own. Out of memory, the history is as it was.
    State undo(State list) {
        State& newest = states_.back();
        if (list.rows.size() > newest.rowsAfterChange) {
            RowStore rows = newest.rows;
            AppendRowsFrom(list.rows, newest.rowsAfterChange, rows);
            newest.rows = std::move(rows);
            newest.rowsAfterChange = list.rows.size();
        }
        list.change = newest.change;
        undone_.push_back(std::move(list));
        return takeNewest();
    }
    // The reverse of undo(): `list` goes back on the undo side. A redo state must exist.
    State redo(State list) {
        State next = std::move(undone_.back());
        undone_.pop_back();
        list.change = next.change;
        list.rowsAfterChange = next.rows.size();
        keep(std::move(list));
        return next;
    }
    // Only the undo states are weighed by fitBeside(): the redo states are the lists the undos
    // replaced, which held no more than the list and its undo states did before the undos.
    // After the list changed: lets the oldest states go while the rows they hold apart from
    // `list` and from each other are over the budget; the newest state always stays. Returns
    // whether any went. A look-up per block of the list and of the newest state.
    bool fitBeside(const RowStore& list) {
        if (states_.size() < 2) {
            return false;
        }
        const qsizetype budget = std::max(kFloorRows, kListCopies * list.size());
        qsizetype held = rowsOfBlocksNotIn(states_.back().rows, list);
        for (size_t i = 0; i + 1 < states_.size(); ++i) {
            held += states_[i].heldBeyondNewer;
        }
        bool dropped = false;
        while (states_.size() > 1 && held > budget) {
            held -= states_.front().heldBeyondNewer;
            letGoOldest();
            dropped = true;
        }
        return dropped;
    }
    // Lets the oldest state go here and now, to make room in memory for an action that is to
    // start again at once. False when there was none.
    bool dropOldest() {
        if (states_.empty()) {
            return false;
        }
        states_.pop_front();
        return true;
    }
    void clear() {
        if (!states_.empty() || !undone_.empty()) {
            LetGoElsewhere(std::pair(std::exchange(states_, {}), std::exchange(undone_, {})));
        }
    }

  private:
    // A sort's state alone holds a full list's places (800 MB at a hundred million rows):
    // handing that back to the system would keep the window's thread from its input.
    void letGoOldest() {
        LetGoElsewhere(std::move(states_.front()));
        states_.pop_front();
    }
    State takeNewest() {
        State newest = std::move(states_.back());
        states_.pop_back();
        return newest;
    }
    static void AppendRowsFrom(const RowStore& list, qsizetype first, RowStore& rows) {
        if (first == 0) {
            rows.appendAll(RowStore(list));  // block by block
            return;
        }
        TextSpan span;
        for (RowIndex row(first); row.within(list.size()); ++row) {
            const QString& source = list.source(row, span);
            rows.appendSpan(source, span);
        }
    }
    void keep(State state) {
        if (state.rowsAfterChange < 0) {
            state.rowsAfterChange = state.rows.size();
        }
        if (!states_.empty()) {
            states_.back().heldBeyondNewer = rowsOfBlocksNotIn(states_.back().rows, state.rows);
        }
        states_.push_back(std::move(state));
        if (states_.size() > kSteps) {
            letGoOldest();
        }
    }
    static qsizetype rowsOfBlocksNotIn(const RowStore& rows, const RowStore& other) {
        std::unordered_set<const void*> others;
        other.forEachBlock([&](const void* block, qsizetype) { others.insert(block); });
        qsizetype held = 0;
        rows.forEachBlock([&](const void* block, qsizetype blockRows) {
            if (others.count(block) == 0) {
                held += blockRows;
            }
        });
        return held;
    }

    std::deque<State> states_;
    std::deque<State> undone_;  // the next redo last
};
