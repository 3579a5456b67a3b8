// Splitting against a plain reference: every piece, in order, at the right place, for any text
// and delimiter, and for a stretch in the middle of a longer text.
#include "core/line_splitter.h"
#include "fuzz_support.h"
#include "support/reference_split.h"
#include "support/split_to_list.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    // A small alphabet makes delimiters frequent; the first bytes choose the delimiter and
    // where the stretch starts and ends.
    static constexpr char16_t kAlphabet[] = {u'a', u',', u';', u'b', u'\n', 0xD800, u',', u'x'};
    const std::size_t delimiterLength = data[0] % 4;
    const std::uint8_t margins = data[1];
    QString delimiter;
    QString text;
    for (std::size_t i = 2; i < size; ++i) {
        const QChar unit(kAlphabet[data[i] % 8]);
        if (delimiter.size() < static_cast<qsizetype>(delimiterLength)) {
            delimiter += unit;
        } else {
            text += unit;
        }
    }
    const qsizetype before = std::min<qsizetype>(margins & 0x0F, text.size());
    const qsizetype after = std::min<qsizetype>(margins >> 4, text.size() - before);
    const qsizetype length = text.size() - before - after;

    const QStringList expected = ReferenceSplit(text.mid(before, length), delimiter);
    PieceCursor cursor(text, before, length, delimiter);
    FUZZ_CHECK(cursor.countPieces() == expected.size());
    qsizetype piece = 0;
    qsizetype end = before;
    while (cursor.hasNext()) {
        const TextSpan span = cursor.next();
        FUZZ_CHECK(piece < expected.size());
        FUZZ_CHECK(span.offset >= end && span.offset + span.length <= before + length);
        FUZZ_CHECK(QStringView(text).mid(span.offset, span.length) == expected[piece]);
        end = span.offset + span.length;
        ++piece;
    }
    FUZZ_CHECK(piece == expected.size());
    FUZZ_CHECK(SplitToList(text, delimiter) == ReferenceSplit(text, delimiter));
    return 0;
}
