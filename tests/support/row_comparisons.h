#pragma once

#include "core/row_number.h"

#include <QTest>

#include <optional>

// A row as the tests' data tables give it: a number, 0 for none.
inline std::optional<RowNumber> RowOrNone(qsizetype number) {
    return number > 0 ? std::optional(RowNumber(number)) : std::nullopt;
}

// How a failed QCOMPARE of rows shows them (QTest finds these by argument-dependent lookup).
template <qsizetype kFirst>
char* toString(const RowCountedFrom<kFirst>& row) {
    return QTest::toString(row.get());
}

template <qsizetype kFirst>
char* toString(const std::optional<RowCountedFrom<kFirst>>& row) {
    return row ? toString(*row) : qstrdup("no row");
}
