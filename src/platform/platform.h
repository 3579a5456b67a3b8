#pragma once

#include "platform/clipboard.h"
#include "platform/event_pump.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"
#include "platform/pointer_shapes.h"
#include "platform/program_folder.h"
#include "platform/random_source.h"
#include "platform/spreadsheet_automation.h"
#include "platform/web_browser.h"

// The host's services as the windows and output routines see them. The program builds it from
// the real back-ends (QtPlatform); tests build it from doubles.
struct Platform {
    MessageBoxes& messages;
    FileDialogs& fileDialogs;
    Clipboard& clipboard;
    WebBrowser& browser;
    EventPump& pump;
    RandomSource& random;
    ProgramFolder& programFolder;
    PointerShapes& pointers;
    SpreadsheetAutomation& spreadsheets;
};
