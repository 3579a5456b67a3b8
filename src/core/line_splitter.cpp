#include "core/line_splitter.h"

#include "core/failure.h"

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

PieceCursor::PieceCursor(QStringView text, qsizetype offset, qsizetype length,
                         QStringView delimiter)
    : text_(text),
      delimiter_(delimiter),
      begin_(offset),
      end_(offset + length),
      position_(offset),
      finished_(length == 0),
      blockStart_(offset),
      scanned_(offset) {}

qsizetype PieceCursor::countPieces(const std::function<void()>& betweenStretches) const {
    const qsizetype length = end_ - begin_;
    if (length == 0) {
        return 0;
    }
    if (delimiter_.isEmpty()) {
        return 1;
    }
    const auto pause = [&] {
        if (betweenStretches) {
            betweenStretches();
        }
    };
    qsizetype count = 1;
    if (delimiter_.size() == 1) {
        for (qsizetype at = begin_; at < end_; at += kCountStretch) {
            if (at > begin_) {
                pause();
            }
            count += countCharacter(text_.sliced(at, std::min(kCountStretch, end_ - at)),
                                    delimiter_.front());
        }
        return count;
    }
    // A longer delimiter is searched for in windows, so that a stretch without one is not
    // one long search either; a window reaches as far into the next as a delimiter can.
    qsizetype from = begin_;
    for (qsizetype windowEnd = begin_; from < end_;) {
        if (windowEnd > begin_) {
            pause();
        }
        windowEnd = std::min(end_, windowEnd + kCountStretch);
        const QStringView window = text_.first(std::min(end_, windowEnd + delimiter_.size() - 1));
        for (qsizetype at = window.indexOf(delimiter_, from); at >= 0 && at < windowEnd;
             at = window.indexOf(delimiter_, from)) {
            ++count;
            from = at + delimiter_.size();
        }
        from = std::max(from, windowEnd);
    }
    return count;
}

void PieceCursor::markBlock() {
    const auto* data = reinterpret_cast<const char16_t*>(text_.data()) + scanned_;
    const char16_t wanted = delimiter_.front().unicode();
    const qsizetype size = std::min(kBlock, end_ - scanned_);
    blockStart_ = scanned_;
    scanned_ += size;
    quint64 marks = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i needle = _mm_set1_epi16(static_cast<short>(wanted));
    auto matches8 = [&](qsizetype at) {
        return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)),
                               needle);
    };
    // Packing turns each 16-bit match into one byte, so the byte mask has one bit per
    // character.
    auto marks16 = [&](qsizetype at) {
        return static_cast<quint64>(static_cast<quint16>(
            _mm_movemask_epi8(_mm_packs_epi16(matches8(at), matches8(at + 8)))));
    };
    if (text_.size() - blockStart_ >= kBlock) {
        // A whole block can be read even where the stretch ends sooner (a line in a longer
        // text): the marks past its end are dropped.
        marks = marks16(0) | marks16(16) << 16 | marks16(32) << 32 | marks16(48) << 48;
        marks_ = size == kBlock ? marks : marks & ((quint64{1} << size) - 1);
        return;
    }
    for (; i + 8 <= size; i += 8) {
        const auto eight = static_cast<quint8>(
            _mm_movemask_epi8(_mm_packs_epi16(matches8(i), _mm_setzero_si128())));
        marks |= static_cast<quint64>(eight) << i;
    }
#endif
    for (; i < size; ++i) {
        marks |= static_cast<quint64>(data[i] == wanted) << i;
    }
    marks_ = marks;
}

qsizetype PieceCursor::findLongDelimiter(qsizetype from) const {
    if (delimiter_.isEmpty()) {
        return -1;
    }
    return text_.first(end_).indexOf(delimiter_, from, Qt::CaseSensitive);
}

void PieceCursor::throwPieceTooLong() {
    throw Failure(QStringLiteral("Piece too long"));
}

LineSplit::LineSplit(QString text, QString delimiter, const std::function<void()>& whileCounting)
    : text_(std::move(text)),
      delimiter_(std::move(delimiter)),
      cursor_(text_, 0, text_.size(), delimiter_),
      count_(cursor_.countPieces(whileCounting)) {}
