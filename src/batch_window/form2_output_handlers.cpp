// "Save Results As Text File" and "Copy Results To Clipboard" of the batch window.
#include "batch_window/form2.h"

#include "output/copy_list_to_clipboard.h"
#include "output/save_list_to_text_file.h"
#include "output/text_file_save_dialog.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"

void Form2::PushButton3_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton3_Click"));
    FileDialogSettings dialog;
    on.step(106, [&] {
        dialog.fileName = QString();
        dialog.flags = TextFileSaveDialog::kFlags;
    });
    on.step(108, [&] { dialog.title = TextFileSaveDialog::kTitle; });
    on.step(110, [&] { dialog.filter = TextFileSaveDialog::kFilter; });
    QString chosen;
    on.step(112, [&] { chosen = platform_.fileDialogs.showSave(dialog); });
    QString fileName;
    on.step(114, [&] { fileName = chosen; });
    // Unlike the main window, Cancel leaves the pointer as it was.
    if (on.test(116, [&] { return fileName.isEmpty(); })) {
        return;
    }
    on.step(118, [&] { setMousePointer(PointerShape::Hourglass); });
    on.step(120, [&] {
        // The window stays until this handler returns, so a save started before it was closed
        // still completes: the user asked for those results to be kept.
        SaveListToTextFile(platform_, *ListView2, fileName);
    });
    on.step(122, [&] { setMousePointer(PointerShape::Default); });
}

void Form2::PushButton8_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton8_Click"));
    on.step(106, [&] { CopyListToClipboard(platform_, *ListView2); });
}
