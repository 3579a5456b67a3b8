#pragma once

#include <QString>

class MessageBoxes;
class ReportList;

// Appends every line of a text file to `list`, one row per line. A line ends at CR LF, a lone
// CR or a lone LF; a final CR LF or CR adds no row, a final lone LF adds one empty row. A file
// that does not exist shows "File not found" and adds nothing; one that cannot be read is a
// Failure for the caller to report.
void LoadTextFileToList(ReportList& list, const QString& path, MessageBoxes& messages);

// Tidies a joined path: every pair of separators becomes one, in one left-to-right pass, except
// that a path starting with separators keeps exactly two of them (a network folder).
// `separator` is the platform's: a backslash on Windows, a slash here.
QString CollapseDoubleBackslashes(const QString& path, QChar separator);
QString CollapseDoubleBackslashes(const QString& path);
