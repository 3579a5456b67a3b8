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
    // Each 16-bit lane counts its matches (a match compares as -1); lanes are summed before
    // they could overflow.
    const __m128i needle = _mm_set1_epi16(static_cast<short>(c));
    const __m128i ones = _mm_set1_epi16(1);
    auto laneSum = [&](__m128i lanes) {
        const __m128i pairs = _mm_madd_epi16(lanes, ones);
        alignas(16) qint32 sums[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(sums), pairs);
        return static_cast<qsizetype>(sums[0]) + sums[1] + sums[2] + sums[3];
    };
    __m128i lanes = _mm_setzero_si128();
    int passes = 0;
    for (; i + 8 <= size; i += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        lanes = _mm_sub_epi16(lanes, _mm_cmpeq_epi16(chunk, needle));
        if (++passes == 16384) {
            count += laneSum(lanes);
            lanes = _mm_setzero_si128();
            passes = 0;
        }
    }
    count += laneSum(lanes);
#endif
    for (; i < size; ++i) {
        count += data[i] == c ? 1 : 0;
    }
    return count;
}
}  // namespace

LineSplit::LineSplit(QString text, QString delimiter)
    : LineSplit(text, 0, text.size(), std::move(delimiter)) {}

LineSplit::LineSplit(QString text, qsizetype offset, qsizetype length, QString delimiter)
    : text_(std::move(text)),
      delimiter_(std::move(delimiter)),
      end_(offset + length),
      position_(offset),
      blockStart_(offset),
      scanned_(offset) {
    if (length == 0) {
        return;
    }
    count_ = 1;
    if (delimiter_.isEmpty()) {
        return;
    }
    if (delimiter_.size() == 1) {
        count_ += countCharacter(QStringView(text_).mid(offset, length), delimiter_.front());
        return;
    }
    for (qsizetype at = findLongDelimiter(offset); at >= 0;
         at = findLongDelimiter(at + delimiter_.size())) {
        ++count_;
    }
}

void LineSplit::markBlock() {
    const auto* data = reinterpret_cast<const char16_t*>(text_.constData()) + scanned_;
    const char16_t wanted = delimiter_.front().unicode();
    blockStart_ = scanned_;
    quint64 marks = 0;
#ifdef __SSE2__
    if (end_ - scanned_ >= kBlock) {
        const __m128i needle = _mm_set1_epi16(static_cast<short>(wanted));
        auto mark16 = [&](int at) {
            const __m128i low = _mm_cmpeq_epi16(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)), needle);
            const __m128i high = _mm_cmpeq_epi16(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 8)), needle);
            // Packing turns each 16-bit match into one byte, so the byte mask has one bit per
            // character.
            return static_cast<quint64>(
                static_cast<quint16>(_mm_movemask_epi8(_mm_packs_epi16(low, high))));
        };
        marks = mark16(0) | mark16(16) << 16 | mark16(32) << 32 | mark16(48) << 48;
        scanned_ += kBlock;
        marks_ = marks;
        return;
    }
#endif
    const qsizetype size = std::min(kBlock, end_ - scanned_);
    for (qsizetype i = 0; i < size; ++i) {
        marks |= static_cast<quint64>(data[i] == wanted) << i;
    }
    scanned_ += size;
    marks_ = marks;
}

qsizetype LineSplit::findLongDelimiter(qsizetype from) const {
    if (delimiter_.isEmpty()) {
        return -1;
    }
    return QStringView(text_).first(end_).indexOf(QStringView(delimiter_), from, Qt::CaseSensitive);
}

void LineSplit::throwPieceTooLong() {
    throw Failure(QStringLiteral("Piece too long"));
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
