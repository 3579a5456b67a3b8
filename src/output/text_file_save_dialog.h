#pragma once

#include "platform/file_dialogs.h"

// What both windows set on their save dialog for "Save Results As Text File".
namespace TextFileSaveDialog {
// "All Files" is "*" rather than "*.*", so that names without a dot are listed too.
inline const FileDialogSettings kSettings{
    QStringLiteral("Save"),
    {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")},
    QString(),
    false};
}  // namespace TextFileSaveDialog
