#pragma once

#include <QString>

class JobProgress;
class RowStore;

// How the rows of a list become one line: what goes between two rows, and which quote, if
// any, each row is put in. A quote inside a row is doubled, as SQL and CSV read it back.
struct OneLineFormat {
    QString separator;
    QChar quote;  // QChar() for none
};

// The length of the joined text, exact, without building it: the rows' characters, two
// quotes a row and one more for each quote inside a row, and the separators between rows.
// `quotesInRows` is QuotesInRows() of the format's quote (0 without a quote).
qsizetype OneLineLength(const RowStore& rows, const OneLineFormat& format, qsizetype quotesInRows);
// How often `quote` occurs in the rows' text; 0 for QChar().
qsizetype QuotesInRows(const RowStore& rows, QChar quote);

// The rows in order as one line: no separator after the last row and no line end, in one
// text of exactly OneLineLength characters. Raises `progress` by rows; after a stop request
// it returns an empty text.
QString JoinAsOneLine(const RowStore& rows, const OneLineFormat& format, JobProgress& progress);

// The first `maxChars` characters of the joined text, made from the first rows only, so it
// costs the same for ten rows as for ten million.
QString OneLinePreview(const RowStore& rows, const OneLineFormat& format, qsizetype maxChars);
