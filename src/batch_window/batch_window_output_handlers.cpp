// "Save Results As Text File" and "Copy Results To Clipboard" of the batch window.
#include "batch_window/batch_window.h"

#include "batch_window/report_locations.h"
#include "output/copy_list_to_clipboard.h"
#include "output/save_list_to_text_file.h"
#include "output/text_file_save_dialog.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/yielding_loop.h"
#include "widgets/report_list/report_list.h"

void BatchWindow::saveResultsAsTextFile() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::saveResultsAsTextFile);
    QString fileName;
    on.step(112, [&] { fileName = platform_.fileDialogs.showSave(TextFileSaveDialog::kSettings); });
    // Unlike the main window, Cancel leaves the pointer as it was.
    if (on.test(116, [&] { return fileName.isEmpty(); })) {
        return;
    }
    on.step(118, [&] { setPointerShape(PointerShape::Hourglass); });
    on.step(120, [&] {
        // The window stays until this handler returns, so a save started before it was closed
        // still completes: the user asked for those results to be kept. Only the program's
        // end stops it.
        YieldingLoop loop(platform_.pump);
        SaveListToTextFile(platform_, *resultsList, fileName, loop);
    });
    on.step(122, [&] { setPointerShape(PointerShape::Default); });
}

void BatchWindow::copyResultsToClipboard() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::copyResultsToClipboard);
    on.step(106, [&] {
        YieldingLoop loop(platform_.pump);
        CopyListToClipboard(platform_, *resultsList, loop);
    });
}
