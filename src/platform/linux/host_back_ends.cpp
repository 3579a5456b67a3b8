#include "platform/qt/host_back_ends.h"

#include "platform/linux/linux_spreadsheet_automation.h"
#include "platform/linux/x_clipboard_text_source.h"

std::unique_ptr<SpreadsheetAutomation> MakeHostSpreadsheetAutomation() {
    return std::make_unique<LinuxSpreadsheetAutomation>();
}

std::unique_ptr<ClipboardTextSource> MakeHostClipboardTextSource(EventPump& pump) {
    return std::make_unique<XClipboardTextSource>(pump);
}
