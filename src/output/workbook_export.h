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
inline const QString kClosingWillNotAskToSave = QStringLiteral(
    "The workbook is shown as an untitled copy that closes without asking whether to save it. "
    "To keep it, save it in the spreadsheet program before you close it.");
inline const QString kNotShown =
    QStringLiteral("The spreadsheet program could not be started to show the workbook \"%1\".");
}  // namespace WorkbookExportMessages

// Has the spreadsheet program's later troubles with a shown workbook told to the user in a
// plain message box: that closing it will not ask to save it (once in the program's run: it is
// the same news each time), or that the workbook saved at its path could not be shown.
void TellShownWorkbookTroubles(Platform& platform);

// True when the spreadsheet program can be started; otherwise tells the user so and answers
// false. Never fails.
bool IsSpreadsheetProgramInstalled(Platform& platform);
