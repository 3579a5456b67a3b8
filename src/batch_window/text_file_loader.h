#pragma once

#include <QString>

class MessageBoxes;
class ReportList;

// Appends every line of a text file to `list`, one row per line. A line ends at CR LF, a lone
// CR or a lone LF; a final CR LF or CR adds no row, a final lone LF adds one empty row. A file
// that does not exist shows "File not found" and adds nothing; one that cannot be read is a
// Failure for the caller to report.
void LoadTextFileToList(ReportList& list, const QString& path, MessageBoxes& messages);

// The rows LoadTextFileToList makes of a text, as spans handed to `append(offset, length)`.
template <typename Append>
void ForEachTextFileLine(const QString& text, Append&& append);

// Tidies a joined path: every pair of separators becomes one, in one left-to-right pass, except
// that a path starting with separators keeps exactly two of them (a network folder).
// `separator` is the platform's: a backslash on Windows, a slash here.
QString CollapseDoubleBackslashes(const QString& path, QChar separator);
QString CollapseDoubleBackslashes(const QString& path);

template <typename Append>
void ForEachTextFileLine(const QString& text, Append&& append) {
    const char16_t* chars = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype size = text.size();
    qsizetype start = 0;
    bool endedByLf = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c == u'\n') {
            append(start, i - start);
            start = i + 1;
            endedByLf = true;
        } else if (c == u'\r') {
            append(start, i - start);
            if (i + 1 < size && chars[i + 1] == u'\n') {
                ++i;
            }
            start = i + 1;
            endedByLf = false;
        }
    }
    if (start < size || endedByLf) {
        append(start, size - start);
    }
}
