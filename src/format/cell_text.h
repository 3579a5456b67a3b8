#pragma once

#include <QString>

// What a workbook cell can carry of a text. A sheet cell holds at most this many UTF-16 units.
inline constexpr qsizetype kCellTextLimit = 32767;

// The text as the cell's XML must carry it so that the sheet shows exactly the row's text:
// control characters other than tab and line feed are written as the sheet's
// escape `_xHHHH_`, which spreadsheet programs decode back; a literal `_xHHHH_` is escaped in
// turn so that they do not decode it into another character. Only what no sheet can hold
// (U+FFFE, U+FFFF, lone surrogates) becomes U+FFFD.
QString CellTextForWorkbook(const QString& text);
