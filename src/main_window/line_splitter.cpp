#include "main_window/line_splitter.h"

#include "platform/failure.h"

#include <limits>

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
        return text.indexOf(delimiter_.front(), from, Qt::CaseSensitive);
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
