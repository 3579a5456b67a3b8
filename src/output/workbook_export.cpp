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
