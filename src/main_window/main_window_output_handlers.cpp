// "Save Results As Text File" and "Copy Results To Clipboard" of the main window.
#include "main_window/main_window.h"

#include "main_window/report_locations.h"
#include "output/copy_list_to_clipboard.h"
#include "output/save_list_to_text_file.h"
#include "output/text_file_save_dialog.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/yielding_loop.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

void MainWindow::saveResultsAsTextFile() {
    HandlerGuard on(platform_.messages, MainWindowLocations::saveResultsAsTextFile);
    QString fileName;
    on.step(116, [&] { fileName = platform_.fileDialogs.showSave(TextFileSaveDialog::kSettings); });
    // The hourglass shows even after Cancel, for a moment.
    on.step(120, [&] { setPointerShape(PointerShape::Hourglass); });
    if (on.test(122, [&] { return !fileName.isEmpty(); })) {
        on.step(124, [&] {
            YieldingLoop loop(platform_.pump);
            SaveListToTextFile(platform_, *resultsList, fileName, loop);
        });
    }
    on.step(126, [&] { setPointerShape(PointerShape::Default); });
}

void MainWindow::copyResultsToClipboard() {
    HandlerGuard on(platform_.messages, MainWindowLocations::copyResultsToClipboard);
    on.step(106, [&] {
        progressBar->setBarText(QStringLiteral("Copying text to clipboard.. please wait.."));
    });
    on.step(108, [&] { setPointerShape(PointerShape::Hourglass); });
    const bool copied = on.step(110, [&] {
        YieldingLoop loop(platform_.pump);
        CopyListToClipboard(platform_, *resultsList, loop);
    });
    // After a failure the clipboard still holds what it held: saying otherwise would lose
    // the results the user thinks are safe there.
    on.step(112, [&] {
        if (!copied) {
            return;
        }
        platform_.messages.show(
            QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where "
                           "you normally type and press Ctrl+V to paste the clipboard."));
    });
    on.step(114, [&] { setPointerShape(PointerShape::Default); });
    on.step(116, [&] { progressBar->setBarText(QStringLiteral("Progress Bar")); });
}
