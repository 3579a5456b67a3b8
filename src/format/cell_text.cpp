#include "format/cell_text.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Carriage return too: XML readers turn it into a line feed, so the library escapes it as well.
bool isXmlControl(char16_t unit) {
    return unit < 0x20 && unit != u'\t' && unit != u'\n';
}

bool isHexDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f') ||
           (unit >= u'A' && unit <= u'F');
}

// `_xHHHH_` starting at `at`, the escape that spreadsheet programs decode on reading, or
// `_xHHHH` before a control character, whose own escape will supply the closing `_`.
bool startsEscape(const QString& text, qsizetype at) {
    if (at + 7 > text.size() || text[at] != u'_' || text[at + 1] != u'x') {
        return false;
    }
    const char16_t after = text[at + 6].unicode();
    if (after != u'_' && !isXmlControl(after)) {
        return false;
    }
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        if (!isHexDigit(text[i].unicode())) {
            return false;
        }
    }
    return true;
}

bool needsWork(const QString& text) {
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (isXmlControl(unit) || unit == u'_' || unit >= 0xD800) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString CellTextForWorkbook(const QString& text) {
    if (!needsWork(text)) {
        return text;
    }
    QString clean;
    clean.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < n &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            clean.append(text[i]);
            clean.append(text[++i]);
        } else if (QChar::isSurrogate(unit) || unit == 0xFFFE || unit == 0xFFFF) {
            clean.append(QChar(kReplacement));
        } else {
            clean.append(text[i]);
        }
    }

    QString escaped;
    escaped.reserve(clean.size() + 16);
    for (qsizetype i = 0; i < clean.size(); ++i) {
        const char16_t unit = clean[i].unicode();
        if (isXmlControl(unit)) {
            // XML cannot carry these characters, but the sheet's own escape can.
            escaped.append(QStringLiteral("_x%1_").arg(
                QString::number(unit, 16).rightJustified(4, QLatin1Char('0')).toUpper()));
            continue;
        }
        if (startsEscape(clean, i)) {
            escaped.append(QStringLiteral("_x005F"));  // the escape of "_" itself
        }
        escaped.append(clean[i]);
    }
    return escaped;
}
