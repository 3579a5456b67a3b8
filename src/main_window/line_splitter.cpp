#include "main_window/line_splitter.h"

#include "platform/failure.h"

#include <algorithm>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {
// Counting the delimiters of a line of 100 MB is the one pass before the first piece, so it
// is done 8 characters at a time where the processor allows.
qsizetype countCharacter(QStringView text, QChar wanted) {
    const auto* data = reinterpret_cast<const char16_t*>(text.data());
    const qsizetype size = text.size();
    const char16_t c = wanted.unicode();
    qsizetype count = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, needle));
        count += __builtin_popcount(static_cast<unsigned>(mask)) / 2;
    }
#endif
    for (; i < size; ++i) {
        count += data[i] == c ? 1 : 0;
    }
    return count;
}
}  // namespace

QStringView FileNameOfPath(QStringView text) {
    const qsizetype backslash = text.lastIndexOf(QLatin1Char('\\'));
    return backslash < 0 ? text : text.sliced(backslash + 1);
}

LineSplit::LineSplit(QString text, QString delimiter)
    : text_(std::move(text)), delimiter_(std::move(delimiter)) {
    if (text_.isEmpty()) {
        return;
    }
    count_ = 1;
    if (delimiter_.isEmpty()) {
        return;
    }
    if (delimiter_.size() == 1) {
        count_ += countCharacter(QStringView(text_), delimiter_.front());
        return;
    }
    for (qsizetype at = findDelimiter(0); at >= 0; at = findDelimiter(at + delimiter_.size())) {
        ++count_;
    }
}

qsizetype LineSplit::findDelimiter(qsizetype from) const {
    if (delimiter_.isEmpty()) {
        return -1;
    }
    const QStringView text(text_);
    if (delimiter_.size() == 1) {
        // Most pieces are short: a plain look at the next few characters beats setting up
        // the vectorised search for each of them.
        const char16_t wanted = delimiter_.front().unicode();
        const auto* data = reinterpret_cast<const char16_t*>(text_.constData());
        const qsizetype nearEnd = std::min(from + 32, text_.size());
        for (qsizetype i = from; i < nearEnd; ++i) {
            if (data[i] == wanted) {
                return i;
            }
        }
        return nearEnd < text_.size() ? text.indexOf(delimiter_.front(), nearEnd) : -1;
    }
    return text.indexOf(QStringView(delimiter_), from, Qt::CaseSensitive);
}

TextSpan LineSplit::next() {
    const qsizetype at = findDelimiter(position_);
    const qsizetype end = at < 0 ? text_.size() : at;
    const qsizetype length = end - position_;
    if (length > std::numeric_limits<quint32>::max()) {
        throw Failure(QStringLiteral("Piece too long"));
    }
    const TextSpan span{position_, static_cast<quint32>(length)};
    position_ = at < 0 ? text_.size() : at + delimiter_.size();
    return span;
}

QStringList SplitToList(const QString& text, const QString& delimiter) {
    LineSplit split(text, delimiter);
    QStringList pieces;
    pieces.reserve(split.count());
    for (qsizetype i = 0; i < split.count(); ++i) {
        const TextSpan span = split.next();
        pieces << text.mid(span.offset, span.length);
    }
    return pieces;
}
