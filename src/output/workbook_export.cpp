#include "output/workbook_export.h"

#include "platform/platform.h"

bool IsSpreadsheetProgramInstalled(Platform& platform) {
    try {
        bool created = false;
        try {
            created = platform.spreadsheets.createApplication() != nullptr;  // released at once
        } catch (...) {
        }
        if (!created) {
            platform.messages.show(WorkbookExportMessages::kNotInstalledForSoftware);
        }
        return created;
    } catch (...) {
        return false;
    }
}

void TellShownWorkbookTroubles(Platform& platform) {
    MessageBoxes& messages = platform.messages;
    platform.spreadsheets.whenShownWorkbookGoesWrong(
        [&messages](ShownWorkbookTrouble trouble, const QString& file) {
            messages.show(trouble == ShownWorkbookTrouble::ClosesWithoutSaveQuestion
                              ? WorkbookExportMessages::kClosingWillNotAskToSave
                              : WorkbookExportMessages::kNotShown.arg(file));
        });
}
