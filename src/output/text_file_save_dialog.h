#pragma once

#include "platform/file_dialogs.h"

// What both windows set on their save dialog for "Save Results As Text File". The flags leave
// out the overwrite prompt, because SaveListToTextFile asks itself, and no default extension is
// set, so a name typed without one is used as typed.
namespace TextFileSaveDialog {
constexpr int kFlags = FileDialogFlags::ReadOnly | FileDialogFlags::AllowMultiSelect |
                       FileDialogFlags::Explorer | FileDialogFlags::LongNames;
static_assert(kFlags == 2621953);
inline const QString kTitle = QStringLiteral("Save");
inline const QString kFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
}  // namespace TextFileSaveDialog
