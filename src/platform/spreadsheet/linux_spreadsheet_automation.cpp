#include "platform/spreadsheet/linux_spreadsheet_automation.h"

#include "platform/failure.h"

std::unique_ptr<SpreadsheetApplication> LinuxSpreadsheetAutomation::createApplication() {
    throw Failure(QStringLiteral("ActiveX component can't create object"));
}
