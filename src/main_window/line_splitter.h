#pragma once

#include "platform/list/text_span.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The part of a text after its last backslash; the whole text when it holds none. Only the
// backslash counts: a forward slash does not.
QStringView FileNameOfPath(QStringView text);

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

    const QString& text() const { return text_; }
    qsizetype count() const { return count_; }

    // Hands out the pieces in order: `count()` calls in all.
    TextSpan next();

  private:
    qsizetype findDelimiter(qsizetype from) const;

    QString text_;
    QString delimiter_;
    qsizetype count_ = 0;
    qsizetype position_ = 0;
};

// Every piece as its own text, for callers that want a plain list.
QStringList SplitToList(const QString& text, const QString& delimiter);
