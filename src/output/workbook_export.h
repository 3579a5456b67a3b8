#pragma once

#include <QString>

struct Platform;

namespace WorkbookExportMessages {
inline const QString kNotInstalledForSoftware = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this "
    "software without error.");
inline const QString kNotInstalledForFeature = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this "
    "feature.");
}  // namespace WorkbookExportMessages

// True when the spreadsheet program can be started; otherwise tells the user so and answers
// false. Never fails.
bool IsSpreadsheetProgramInstalled(Platform& platform);
