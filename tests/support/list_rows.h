#pragma once

#include <QStringList>

// Every row of a list, first to last, for comparing a whole list at once.
template <typename List>
QStringList RowsOf(const List& list) {
    QStringList rows;
    for (qsizetype row = 1; row <= list.count(); ++row) {
        rows << list.text(row);
    }
    return rows;
}
