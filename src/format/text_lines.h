#pragma once

#include <QString>
#include <QStringView>

// Cuts a text into the lines of a text file, as spans handed to `append(offset, length)`. A
// line ends at CR LF, a lone CR or a lone LF; a final CR LF or CR adds no line, a final lone LF
// adds one empty line.
template <typename Append>
void ForEachTextFileLine(const QString& text, Append&& append) {
    // Searching for each line end with indexOf (vectorised) rather than testing every
    // character keeps a file of millions of lines as fast to read as it is to decode.
    const QStringView all(text);
    const qsizetype size = all.size();
    qsizetype nextCr = all.indexOf(u'\r');
    qsizetype nextLf = all.indexOf(u'\n');
    qsizetype start = 0;
    bool endedByLf = false;
    while (nextCr >= 0 || nextLf >= 0) {
        const bool lf = nextCr < 0 || (nextLf >= 0 && nextLf < nextCr);
        const qsizetype at = lf ? nextLf : nextCr;
        append(start, at - start);
        start = at + 1;
        endedByLf = lf;
        if (!lf && start < size && all[start] == u'\n') {
            ++start;  // CR LF is one line end
        }
        if (nextCr >= 0 && nextCr < start) {
            nextCr = all.indexOf(u'\r', start);
        }
        if (nextLf >= 0 && nextLf < start) {
            nextLf = all.indexOf(u'\n', start);
        }
    }
    if (start < size || endedByLf) {
        append(start, size - start);
    }
}

// Cuts one line break off the end of a text: CR LF, CR or LF. A file's last line break ends its
// last line and is no part of the text, whereas every other line break is.
inline void RemoveFinalLineBreak(QString& text) {
    if (text.endsWith(u"\r\n")) {
        text.chop(2);
    } else if (text.endsWith(u'\r') || text.endsWith(u'\n')) {
        text.chop(1);
    }
}
