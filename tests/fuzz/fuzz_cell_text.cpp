// Workbook cell text: whatever the row holds, the cell's XML can carry the escaped text, and
// a reader that decodes the sheet's _xHHHH_ escapes gets the row back (only what no sheet can
// hold, U+FFFE, U+FFFF and lone surrogates, reads as U+FFFD).
#include "format/cell_text.h"
#include "fuzz_support.h"

#include <QXmlStreamReader>

namespace {
bool isHex(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// What spreadsheet programs do on reading: every _xHHHH_ becomes that character.
QString unescape(const QString& escaped) {
    QString text;
    for (qsizetype i = 0; i < escaped.size();) {
        if (i + 7 <= escaped.size() && escaped[i] == u'_' && escaped[i + 1] == u'x' &&
            escaped[i + 6] == u'_' && isHex(escaped[i + 2]) && isHex(escaped[i + 3]) &&
            isHex(escaped[i + 4]) && isHex(escaped[i + 5])) {
            text += QChar(static_cast<char16_t>(escaped.mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 7;
        } else {
            text += escaped[i++];
        }
    }
    return text;
}

QString keepable(const QString& text) {
    QString kept = text;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const char16_t unit = kept[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < kept.size() &&
            QChar::isLowSurrogate(kept[i + 1].unicode())) {
            ++i;
        } else if (QChar::isSurrogate(unit) || unit == 0xFFFE || unit == 0xFFFF) {
            kept[i] = QChar(0xFFFD);
        }
    }
    return kept;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString row = Utf16Of(data, size);
    const QString escaped = CellTextForWorkbook(row);
    FUZZ_CHECK(unescape(escaped) == keepable(row));

    QString xml = escaped.toHtmlEscaped();
    xml = QStringLiteral("<t>") + xml + QStringLiteral("</t>");
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
    }
    FUZZ_CHECK(!reader.hasError());
    return 0;
}
