// Rows to clipboard text and back, built as the clipboard routine builds it: each row, its
// trailing spaces removed, then CR LF. Whatever the rows, the text is exactly that, whichever
// way the builder had to grow.
#include "core/text_builder.h"
#include "fuzz_support.h"

#include <QStringList>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    // Rows are cut at U+FFFF; the first byte is the builder's first guess of the size, so that
    // growing from a guess far too small is tried as well.
    const QStringList rows = Utf16Of(data + 1, size - 1).split(QChar(0xFFFF));
    TextBuilder builder(data[0]);
    QString expected;
    for (const QString& row : rows) {
        const qsizetype lineStart = builder.size();
        builder.append(QStringView(row));
        builder.chopSpacesAfter(lineStart);
        builder.appendLineEnd();
        qsizetype kept = row.size();
        while (kept > 0 && row[kept - 1] == QLatin1Char(' ')) {
            --kept;
        }
        expected += QStringView(row).first(kept);
        expected += QStringLiteral("\r\n");
    }
    FUZZ_CHECK(builder.size() == expected.size());
    const QString text = builder.take();
    FUZZ_CHECK(text == expected);
    // And back: without line ends of their own, the lines are the rows as they were kept.
    if (!expected.isEmpty() && std::none_of(rows.begin(), rows.end(), [](const QString& row) {
            return row.contains(u'\r') || row.contains(u'\n');
        })) {
        QStringList lines = text.split(QStringLiteral("\r\n"));
        lines.removeLast();
        FUZZ_CHECK(lines.size() == rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QStringView chopped = QStringView(rows[i]).sliced(lines[i].size());
            FUZZ_CHECK(rows[i].startsWith(lines[i]) && chopped.count(u' ') == chopped.size());
        }
    }
    return 0;
}
