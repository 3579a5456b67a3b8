#pragma once

#include "core/row_number.h"

#include <QString>

class RowStore;

// What the output routines read of a list: its rows, 1-based, each one text, shown under the
// list's one column once the list has it (a list is made without a column, and its load adds
// it). Reading a row that does not exist is a Failure.
class ReadableList {
  public:
    virtual ~ReadableList() = default;
    virtual qsizetype rowCount() const = 0;
    virtual int columnCount() const = 0;  // 0 before the list has its column, then 1
    virtual QString headerText(int column) const = 0;
    virtual QString text(RowNumber row) const = 0;

    // A list that keeps its rows in a RowStore (row r is store row r.index()) hands the store
    // out, so that loops over millions of rows read the rows' text without copying it.
    virtual const RowStore* storedRows() const { return nullptr; }
};

// The Failure of reading a row or column that does not exist, worded alike for every list.
[[noreturn]] void ThrowIndexOutOfBounds();
