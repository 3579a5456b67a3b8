#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A desktop spreadsheet program that can show a workbook file.
struct SpreadsheetProgram {
    QString executable;           // full path
    QStringList argumentsBefore;  // then the file
    // The LibreOffice helper: its first argument is LibreOffice, and the caller shows the file
    // itself, as an untitled copy, when the helper fails.
    bool isLibreOfficeHelper = false;
};

// Looks for LibreOffice (soffice, libreoffice, localc), then Gnumeric. LibreOffice is told to
// open the file as a template: the user gets an untitled copy and never saves over ours. Given
// `libreOfficeHelper` (a program taking LibreOffice's path, then the file), LibreOffice gets the
// file through it, so that the copy also counts as modified and closing it asks to save it.
// Gnumeric opens the file itself: nothing in it opens a file as a new workbook.
// `findExecutable` answers the full path of a program on PATH, or an empty text.
std::optional<SpreadsheetProgram> FindSpreadsheetProgram(
    const std::function<QString(const QString&)>& findExecutable, const QString& libreOfficeHelper);
