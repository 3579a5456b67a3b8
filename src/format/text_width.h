#pragma once

#include <QStringView>

// Widths in the workbook's default font, Calibri 11 pt, as the spreadsheet program shows it at
// 100 % on a 96 dpi screen. libxlsxwriter has no autofit, so columns are fitted from these.
namespace SheetTextWidth {

// Advance width of the text in 1/2048 em (the font's own units).
qint64 fontUnits(QStringView text);

// The column width, in libxlsxwriter's pixels, at which LibreOffice shows the text in full with
// the margins its optimal width adds.
int fittedColumnPixels(qint64 textFontUnits);

}  // namespace SheetTextWidth
