#pragma once

#include <QString>

// What a workbook cell can carry of a text. A sheet cell holds at most this many UTF-16 units.
inline constexpr qsizetype kCellTextLimit = 32767;

// The text as the cell's XML must carry it so that the sheet shows exactly the row's text:
// characters XML cannot hold (control characters other than tab, line feed and carriage
// return, U+FFFE, U+FFFF, lone surrogates) become U+FFFD, and a literal `_xHHHH_` is escaped so
// that spreadsheet programs do not decode it into another character.
QString CellTextForWorkbook(const QString& text);
