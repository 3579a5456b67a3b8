#pragma once

#include <QMap>
#include <QPair>
#include <QString>
#include <QVector>

// An .xlsx file as an independent reader (openpyxl, run by the system's own python3) sees it.
struct ReadBackSheet {
    QString title;
    QMap<QPair<int, int>, QString> cells;  // (row, column), 1-based, escapes decoded
    QMap<QPair<int, int>, QString> types;  // openpyxl's data type: "s" text, "n", "f", ...
    QMap<int, double> widths;              // fitted columns, in character units
    QString at(int row, int column) const { return cells.value({row, column}); }
};

struct ReadBackWorkbook {
    bool ok = false;
    QString error;  // the reader's complaint when the file is not a valid workbook
    QVector<ReadBackSheet> sheets;
};

ReadBackWorkbook ReadXlsxBack(const QString& path);
