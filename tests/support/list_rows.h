#pragma once

#include "core/row_number.h"

#include <QStringList>

// Every row of a list, first to last, for comparing a whole list at once.
template <typename List>
QStringList RowsOf(const List& list) {
    QStringList rows;
    for (RowNumber row{1}; row <= RowNumber(list.count()); ++row) {
        rows << list.text(row);
    }
    return rows;
}
