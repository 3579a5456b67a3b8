#pragma once

#include "platform/list/text_span.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>

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
// The pieces are fixed when the split is made (it holds its own copy of the text, which costs
// nothing while the text is unchanged) and are handed out one by one, so a split of a line of
// millions of pieces needs no memory beyond the line.
class LineSplit {
  public:
    LineSplit(QString text, QString delimiter);
    // Splits only `length` characters of `text` from `offset`; the pieces' places are places
    // in `text`, so they can share it.
    LineSplit(QString text, qsizetype offset, qsizetype length, QString delimiter);

    const QString& text() const { return text_; }
    qsizetype count() const { return count_; }

    // Hands out the pieces in order: `count()` calls in all.
    TextSpan next() {
        const qsizetype at = findDelimiter(position_);
        const qsizetype end = at < 0 ? end_ : at;
        const qsizetype length = end - position_;
        if (length > kMaxPieceLength) {
            throwPieceTooLong();
        }
        const TextSpan span{position_, static_cast<quint32>(length)};
        position_ = at < 0 ? end_ : at + delimiter_.size();
        return span;
    }

  private:
    static constexpr qsizetype kMaxPieceLength = 0xFFFFFFFF;
    [[noreturn]] static void throwPieceTooLong();

    qsizetype findDelimiter(qsizetype from) const {
        if (delimiter_.size() != 1) {
            return findLongDelimiter(from);
        }
        // Most pieces are short: a plain look at the next few characters beats setting up
        // the vectorised search for each of them.
        const auto* data = reinterpret_cast<const char16_t*>(text_.constData());
        const char16_t wanted = delimiter_.front().unicode();
        const qsizetype nearEnd = std::min(from + 32, end_);
        for (qsizetype i = from; i < nearEnd; ++i) {
            if (data[i] == wanted) {
                return i;
            }
        }
        return nearEnd < end_ ? findFar(nearEnd) : -1;
    }
    qsizetype findFar(qsizetype from) const;
    qsizetype findLongDelimiter(qsizetype from) const;

    QString text_;
    QString delimiter_;
    qsizetype end_ = 0;
    qsizetype count_ = 0;
    qsizetype position_ = 0;
};

// Every piece as its own text, for callers that want a plain list.
QStringList SplitToList(const QString& text, const QString& delimiter);
