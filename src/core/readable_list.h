#pragma once

#include "core/row_number.h"

#include <QString>

class RowStore;

// What the output routines read of a list: rows and columns are 1-based; column 1 is the row's
// own text, column k > 1 its sub-item k - 1. Reading a row that does not exist is a Failure.
class ReadableList {
  public:
    virtual ~ReadableList() = default;
    virtual qsizetype rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString headerText(int column) const = 0;
    virtual QString cellText(RowNumber row, int column) const = 0;
    virtual bool showsCheckBoxes() const { return false; }
    virtual bool isChecked(RowNumber /*row*/) const { return true; }

    // A list whose column 1 is the text of a RowStore (row r is store row r.index()) hands the
    // store out, so that loops over millions of rows read the rows' text without copying it.
    virtual const RowStore* firstColumnRows() const { return nullptr; }

    // A row counts as checked unless the list shows check boxes and its box is cleared.
    bool countsAsChecked(RowNumber row) const { return !showsCheckBoxes() || isChecked(row); }
};

// The Failure of reading a row or column that does not exist, worded alike for every list.
[[noreturn]] void ThrowIndexOutOfBounds();
