#pragma once

#include "core/text_span.h"

#include <QString>
#include <QStringView>

#include <bit>
#include <functional>

// The part of a text after its last backslash; the whole text when it holds none. Only the
// backslash counts: a forward slash does not.
inline QStringView FileNameOfPath(QStringView text) {
    // A plain backward scan: pieces are mostly short, and this runs once per piece.
    for (qsizetype i = text.size(); i-- > 0;) {
        if (text[i] == QLatin1Char('\\')) {
            return text.sliced(i + 1);
        }
    }
    return text;
}

// Cuts a text at every occurrence of a delimiter, searched left to right with an exact,
// case-sensitive comparison; occurrences never overlap and the delimiters are dropped.
// An empty text gives no pieces; an empty delimiter gives the whole text as one piece.
//
// The cursor walks a stretch of a text it does not own, handing out the pieces one by one:
// the text and the delimiter must stay unchanged while it is used. Pieces are places in the
// whole text, so a list can keep them as spans of it.
class PieceCursor {
  public:
    PieceCursor() = default;
    PieceCursor(QStringView text, qsizetype offset, qsizetype length, QStringView delimiter);

    bool hasNext() const { return !finished_; }

    TextSpan next() {
        const qsizetype at = delimiter_.size() == 1 ? nextMark() : findLongDelimiter(position_);
        const qsizetype end = at < 0 ? end_ : at;
        const qsizetype length = end - position_;
        if (length > kMaxPieceLength) {
            throwPieceTooLong();
        }
        const TextSpan span{position_, static_cast<quint32>(length)};
        position_ = at < 0 ? end_ : at + delimiter_.size();
        finished_ = at < 0;
        return span;
    }

    // All pieces of the stretch, whatever has been handed out. A long stretch is counted a
    // few milliseconds at a time, with `betweenStretches` (when given) called in between:
    // a line of a gigabyte then lets the window answer while it is counted.
    qsizetype countPieces(const std::function<void()>& betweenStretches = {}) const;

  private:
    static constexpr qsizetype kMaxPieceLength = 0xFFFFFFFF;
    static constexpr qsizetype kBlock = 64;  // characters marked per scan: one bit each
    static constexpr qsizetype kCountStretch = qsizetype(1) << 23;  // about 2 ms of counting
    [[noreturn]] static void throwPieceTooLong();

    // The place of the next single-character delimiter, or -1. The text is scanned a block
    // at a time into a word of marks, one bit per delimiter, so a piece costs a few
    // instructions however short it is, and a long piece is skipped a block at a time.
    qsizetype nextMark() {
        while (marks_ == 0) {
            if (scanned_ >= end_) {
                return -1;
            }
            markBlock();
        }
        const qsizetype at = blockStart_ + std::countr_zero(marks_);
        marks_ &= marks_ - 1;
        return at;
    }
    void markBlock();
    qsizetype findLongDelimiter(qsizetype from) const;

    QStringView text_;
    QStringView delimiter_;
    qsizetype begin_ = 0;
    qsizetype end_ = 0;
    qsizetype position_ = 0;
    bool finished_ = true;
    // Single-character delimiters: the block being handed out and the marks not yet used.
    qsizetype blockStart_ = 0;
    qsizetype scanned_ = 0;
    quint64 marks_ = 0;
};

// A split that keeps its own share of the text and the delimiter (which costs nothing while
// the text is unchanged), so the text may change while the pieces are handed out: a split of
// a line of millions of pieces needs no memory beyond the line.
class LineSplit {
  public:
    // Calls `whileCounting` (when given) now and then while a long text's pieces are counted.
    LineSplit(QString text, QString delimiter, const std::function<void()>& whileCounting = {});
    LineSplit(const LineSplit&) = delete;
    LineSplit& operator=(const LineSplit&) = delete;

    const QString& text() const { return text_; }
    qsizetype count() const { return count_; }
    bool hasNext() const { return cursor_.hasNext(); }
    // Hands out the pieces in order: `count()` calls in all.
    TextSpan next() { return cursor_.next(); }

  private:
    QString text_;
    QString delimiter_;
    PieceCursor cursor_;
    qsizetype count_ = 0;
};
