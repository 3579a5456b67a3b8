#include "core/one_line_join.h"

#include "core/background_job.h"
#include "core/row_store.h"
#include "core/text_builder.h"

#include <algorithm>

namespace {

// Rows between two looks at the stop request: a few milliseconds of copying.
constexpr qsizetype kRowsPerLook = 8192;

// `rowsHaveQuotes`: false when no row holds the quote, and none needs looking into.
void appendRow(TextBuilder& text, QStringView row, QChar quote, bool rowsHaveQuotes) {
    if (quote.isNull()) {
        text.append(row);
        return;
    }
    text.append(quote);
    for (qsizetype at = rowsHaveQuotes ? row.indexOf(quote) : -1; at >= 0;
         at = row.indexOf(quote)) {
        text.append(row.first(at + 1));
        text.append(quote);
        row = row.sliced(at + 1);
    }
    text.append(row);
    text.append(quote);
}

}  // namespace

qsizetype QuotesInRows(const RowStore& rows, QChar quote) {
    if (quote.isNull()) {
        return 0;
    }
    const char16_t wanted = quote.unicode();
    qsizetype count = 0;
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QStringView text = rows.view(RowIndex(row));
        const char16_t* chars = text.utf16();
        count += std::count(chars, chars + text.size(), wanted);
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
    const qsizetype quotesInRows = QuotesInRows(rows, format.quote);
    // Exactly the text's size: a builder that had to grow would copy it once more.
    TextBuilder text(OneLineLength(rows, format, quotesInRows));
    const qsizetype n = rows.size();
    progress.setTotal(n);
    for (qsizetype row = 0; row < n; ++row) {
        if (row % kRowsPerLook == 0 && row > 0) {
            if (progress.stopRequested()) {
                return QString();
            }
            progress.setDone(row);
        }
        if (row > 0) {
            text.append(QStringView(format.separator));
        }
        appendRow(text, rows.view(RowIndex(row)), format.quote, quotesInRows > 0);
    }
    progress.setDone(n);
    return text.take();
}

QString OneLinePreview(const RowStore& rows, const OneLineFormat& format, qsizetype maxChars) {
    TextBuilder preview(maxChars);
    for (qsizetype row = 0; row < rows.size() && preview.size() < maxChars; ++row) {
        if (row > 0) {
            preview.append(QStringView(format.separator));
        }
        // A row of a gigabyte adds only what shows.
        appendRow(preview, rows.view(RowIndex(row)).left(maxChars), format.quote, true);
    }
    QString text = preview.take();
    text.truncate(maxChars);
    return text;
}
