#pragma once

#include "platform/spreadsheet_automation.h"

// Builds the workbook in memory and hands it to the desktop's spreadsheet program.
class LinuxSpreadsheetAutomation : public SpreadsheetAutomation {
  public:
    std::unique_ptr<SpreadsheetApplication> createApplication() override;
};
