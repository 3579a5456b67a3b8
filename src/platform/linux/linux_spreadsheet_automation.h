#pragma once

#include "platform/spreadsheet_automation.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

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
    // Runs the LibreOffice helper without waiting for it; `ended` hears its exit status later,
    // -1 when it did not start or end normally. A QProcess of ours when unset.
    std::function<void(const QString& program, const QStringList& arguments,
                       std::function<void(int exitCode)> ended)>
        runHelper;
};

// Builds the workbook as an .xlsx file in the user's cache while the cells arrive, and on
// "visible" hands it to the desktop's spreadsheet program, which opens it as a new untitled
// document (in LibreOffice one that asks to be saved) and stays open after we end. The
// LibreOffice helper runs in the background; when it fails, the file is shown as LibreOffice's
// untitled copy, and whoever listens hears that closing it will not ask to save it.
class LinuxSpreadsheetAutomation : public SpreadsheetAutomation {
  public:
    LinuxSpreadsheetAutomation();
    explicit LinuxSpreadsheetAutomation(LinuxSpreadsheetSettings settings);
    ~LinuxSpreadsheetAutomation() override;

    std::unique_ptr<SpreadsheetApplication> createApplication() override;
    void whenShownWorkbookGoesWrong(
        std::function<void(ShownWorkbookTrouble, const QString& file)> tell) override;

    struct HelperRuns;

  private:
    LinuxSpreadsheetSettings settings_;
    std::unique_ptr<HelperRuns> helperRuns_;
};
