#include "core/one_line_join.h"

#include "core/background_job.h"
#include "core/row_store.h"

#include <algorithm>
#include <cstring>

namespace {

// Rows between two looks at the stop request: a few milliseconds of copying.
constexpr qsizetype kRowsPerLook = 8192;

QChar* copyChars(QChar* to, const QChar* from, qsizetype n) {
    std::memcpy(static_cast<void*>(to), from, static_cast<size_t>(n) * sizeof(QChar));
    return to + n;
}

// Writes `row` quoted, each quote inside it doubled; returns the end of what it wrote.
QChar* writeQuoted(QChar* to, QStringView row, QChar quote) {
    *to++ = quote;
    const QChar* from = row.data();
    const QChar* const end = from + row.size();
    while (from != end) {
        const QChar* found = std::find(from, end, quote);
        to = copyChars(to, from, found - from);
        if (found == end) {
            break;
        }
        *to++ = quote;
        *to++ = quote;
        from = found + 1;
    }
    *to++ = quote;
    return to;
}

}  // namespace

qsizetype QuotesInRows(const RowStore& rows, QChar quote) {
    if (quote.isNull()) {
        return 0;
    }
    qsizetype count = 0;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QStringView text = rows.view(RowIndex(row));
        count += std::count(text.begin(), text.end(), quote);
    }
    return count;
}

qsizetype OneLineLength(const RowStore& rows, const OneLineFormat& format, qsizetype quotesInRows) {
    if (rows.empty()) {
        return 0;
    }
    const qsizetype quotes = format.quote.isNull() ? 0 : 2 * rows.size() + quotesInRows;
    return rows.totalLength() + quotes + (rows.size() - 1) * format.separator.size();
}

QString JoinAsOneLine(const RowStore& rows, const OneLineFormat& format, JobProgress& progress) {
    const qsizetype length = OneLineLength(rows, format, QuotesInRows(rows, format.quote));
    QString text(length, Qt::Uninitialized);
    QChar* to = text.data();
    const qsizetype n = rows.size();
    progress.setTotal(n);
    const QChar* separator = format.separator.constData();
    const qsizetype separatorSize = format.separator.size();
    for (qsizetype row = 0; row < n; ++row) {
        if (row % kRowsPerLook == 0 && row > 0) {
            if (progress.stopRequested()) {
                return QString();
            }
            progress.setDone(row);
        }
        // Most separators are one character, which a call to copy would only slow down.
        if (row > 0 && separatorSize == 1) {
            *to++ = *separator;
        } else if (row > 0) {
            to = copyChars(to, separator, separatorSize);
        }
        const QStringView view = rows.view(RowIndex(row));
        to = format.quote.isNull() ? copyChars(to, view.data(), view.size())
                                   : writeQuoted(to, view, format.quote);
    }
    progress.setDone(n);
    return text;
}

QString OneLinePreview(const RowStore& rows, const OneLineFormat& format, qsizetype maxChars) {
    QString preview;
    for (qsizetype row = 0; row < rows.size() && preview.size() < maxChars; ++row) {
        if (row > 0) {
            preview += format.separator;
        }
        // A row of a gigabyte adds only what shows.
        const QStringView view = rows.view(RowIndex(row)).left(maxChars);
        if (format.quote.isNull()) {
            preview += view;
            continue;
        }
        QString quoted(2 * view.size() + 2, Qt::Uninitialized);
        quoted.truncate(writeQuoted(quoted.data(), view, format.quote) - quoted.constData());
        preview += quoted;
    }
    preview.truncate(maxChars);
    return preview;
}
