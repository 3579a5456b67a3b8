#pragma once

#include <QString>

#include <optional>

class MessageBoxes;
class ReportList;

// The text of a text file, decoded by its byte-order mark, as UTF-8 or as Windows-1252. A file
// that does not exist shows "File not found" and has no text; one that cannot be read, or that
// is no regular file, is a Failure for the caller to report.
std::optional<QString> ReadTextFile(const QString& path, MessageBoxes& messages);

// Appends every line of a text file to `list`, one row per line. A line ends at CR LF, a lone
// CR or a lone LF; a final CR LF or CR adds no row, a final lone LF adds one empty row. The file
// is read as ReadTextFile reads it: a missing one adds nothing.
void LoadTextFileToList(ReportList& list, const QString& path, MessageBoxes& messages);

// Appends every line of the file named by `nativePath`, the system's own bytes (a name from the
// command line need not be text in the locale's encoding), as LoadTextFileToList does, but shows
// nothing: gives why the file was not loaded ("File not found", or what failed), or nothing once
// its lines are in the list.
std::optional<QString> LoadNamedFileToList(ReportList& list, const QByteArray& nativePath);

// Tidies a joined path: every pair of separators becomes one, in one left-to-right pass, except
// that a path starting with separators keeps exactly two of them (a network folder).
// `separator` is the platform's: a backslash on Windows, a slash here.
QString CollapseDoubleBackslashes(const QString& path, QChar separator);
QString CollapseDoubleBackslashes(const QString& path);
