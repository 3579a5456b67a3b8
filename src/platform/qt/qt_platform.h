#pragma once

#include "platform/platform.h"
#include "platform/qt/host_back_ends.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_pointer_shapes.h"
#include "platform/qt/qt_program_folder.h"
#include "platform/qt/qt_random_source.h"
#include "platform/qt/qt_web_browser.h"

// The real back-ends, owned together. Create after the QApplication.
class QtPlatform {
  public:
    QtPlatform() { UseClipboardTextSource(clipboardTextSource_.get()); }
    ~QtPlatform() { UseClipboardTextSource(nullptr); }
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Platform& platform() { return platform_; }
    QtEventPump& pump() { return pump_; }

  private:
    QtEventPump pump_;
    QtMessageBoxes messages_{pump_};
    QtFileDialogs fileDialogs_;
    QtClipboard clipboard_;
    QtWebBrowser browser_;
    QtRandomSource random_;
    QtProgramFolder programFolder_;
    QtPointerShapes pointers_;
    std::unique_ptr<SpreadsheetAutomation> spreadsheets_ = MakeHostSpreadsheetAutomation();
    std::unique_ptr<ClipboardTextSource> clipboardTextSource_ = MakeHostClipboardTextSource(pump_);
    Platform platform_{messages_, fileDialogs_,   clipboard_, browser_,      pump_,
                       random_,   programFolder_, pointers_,  *spreadsheets_};
};
