#pragma once

#include "platform/spreadsheet_automation.h"

#include <memory>

// The services Qt has no portable way to offer, made by the host's own back-end folder
// (src/platform/<host>/, chosen in CMake) for QtPlatform to own beside the Qt back-ends.
std::unique_ptr<SpreadsheetAutomation> MakeHostSpreadsheetAutomation();
