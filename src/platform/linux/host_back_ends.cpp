#include "platform/qt/host_back_ends.h"

#include "platform/linux/linux_spreadsheet_automation.h"

std::unique_ptr<SpreadsheetAutomation> MakeHostSpreadsheetAutomation() {
    return std::make_unique<LinuxSpreadsheetAutomation>();
}
