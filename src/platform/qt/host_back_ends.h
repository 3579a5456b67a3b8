#pragma once

#include "platform/event_pump.h"
#include "platform/spreadsheet_automation.h"
#include "widgets/line_box/clipboard_text_source.h"

#include <memory>

// The services Qt has no portable way to offer, made by the host's own back-end folder
// (src/platform/<host>/, chosen in CMake) for QtPlatform to own beside the Qt back-ends.
std::unique_ptr<SpreadsheetAutomation> MakeHostSpreadsheetAutomation();
// Where line boxes read pasted text from; nullptr when Qt's clipboard serves. A paste that
// arrives in pieces lets the window repaint through `pump`.
std::unique_ptr<ClipboardTextSource> MakeHostClipboardTextSource(EventPump& pump);
