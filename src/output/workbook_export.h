#pragma once

#include <QString>

struct Platform;
class ReadableList;
class WindowMousePointer;

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
bool SaveResultsAsExcelFileIsExcelInstalled(Platform& platform);

// "Save Results As Excel File": a header row, then one sheet row per list row, in a new workbook
// that the spreadsheet program shows unsaved. A guarded handler of its own
// ("Form2.PushButton13_Click"); `pointer` is the window's, set to the hourglass meanwhile.
void SaveResultsAsExcelFile(Platform& platform, const ReadableList& results,
                            WindowMousePointer& pointer);
