#pragma once

#include "platform/spreadsheet_automation.h"

#include <QString>
#include <QStringList>

#include <functional>

inline constexpr char kLibreOfficeHelperName[] = "libreoffice_new_workbook.py";

struct LinuxSpreadsheetSettings {
    QString exportFolder;  // empty: the user's cache, else a folder in the temporary folder
    int rowsPerSheet = 1048576;
    // Handed-over exports older than this are removed when a later export is handed over.
    qint64 keepExportsSeconds = 600;
    // Full path of a program on PATH, or empty; QStandardPaths::findExecutable when unset.
    std::function<QString(const QString& name)> findExecutable;
    // The program that opens a workbook in LibreOffice as a new, modified document; when empty,
    // kLibreOfficeHelperName beside our program. Left out when it cannot be run.
    QString libreOfficeHelper;
    // Starts a program detached from ours; QProcess::startDetached when unset.
    std::function<bool(const QString& program, const QStringList& arguments)> startDetached;
};

// Builds the workbook as an .xlsx file in the user's cache while the cells arrive, and on
// "visible" hands it to the desktop's spreadsheet program, which opens it as a new untitled
// document (in LibreOffice one that asks to be saved) and stays open after we end.
class LinuxSpreadsheetAutomation : public SpreadsheetAutomation {
  public:
    LinuxSpreadsheetAutomation() = default;
    explicit LinuxSpreadsheetAutomation(LinuxSpreadsheetSettings settings);

    std::unique_ptr<SpreadsheetApplication> createApplication() override;

  private:
    LinuxSpreadsheetSettings settings_;
};
