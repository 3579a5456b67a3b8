// "Save Results As Text File" and "Copy Results To Clipboard" of the main window.
#include "main_window/form1.h"

#include "output/copy_list_to_clipboard.h"
#include "output/save_list_to_text_file.h"
#include "output/text_file_save_dialog.h"
#include "platform/controls/progress_bar.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"

void Form1::PushButton1_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.PushButton1_Click"));
    FileDialogSettings dialog;
    on.step(108, [&] { dialog.fileName = QString(); });
    on.step(110, [&] { dialog.flags = TextFileSaveDialog::kFlags; });
    on.step(112, [&] { dialog.title = TextFileSaveDialog::kTitle; });
    on.step(114, [&] { dialog.filter = TextFileSaveDialog::kFilter; });
    QString chosen;
    on.step(116, [&] { chosen = platform_.fileDialogs.showSave(dialog); });
    QString fileName;
    on.step(118, [&] { fileName = chosen; });
    // The hourglass shows even after Cancel, for a moment.
    on.step(120, [&] { setMousePointer(PointerShape::Hourglass); });
    if (on.test(122, [&] { return !fileName.isEmpty(); })) {
        on.step(124, [&] { SaveListToTextFile(platform_, *ListView1, fileName); });
    }
    on.step(126, [&] { setMousePointer(PointerShape::Default); });
}

void Form1::PushButton6_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.PushButton6_Click"));
    on.step(106, [&] {
        ProgressBar1->setBarText(QStringLiteral("Copying text to clipboard.. please wait.."));
    });
    on.step(108, [&] { setMousePointer(PointerShape::Hourglass); });
    on.step(110, [&] { CopyListToClipboard(platform_, *ListView1); });
    on.step(112, [&] {
        platform_.messages.show(
            QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where "
                           "you normally type and press Ctrl+V to paste the clipboard."));
    });
    on.step(114, [&] { setMousePointer(PointerShape::Default); });
    on.step(116, [&] { ProgressBar1->setBarText(QStringLiteral("Progress Bar")); });
}
