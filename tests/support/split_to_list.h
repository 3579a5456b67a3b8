#pragma once

#include "core/line_splitter.h"

#include <QStringList>

// Every piece LineSplit hands out, as its own text.
inline QStringList SplitToList(const QString& text, const QString& delimiter) {
    LineSplit split(text, delimiter);
    QStringList pieces;
    pieces.reserve(split.count());
    while (split.hasNext()) {
        const TextSpan span = split.next();
        pieces << text.mid(span.offset, span.length);
    }
    return pieces;
}
