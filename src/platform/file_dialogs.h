#pragma once

#include <QString>

// What the program sets on its file dialog before each opening.
struct FileDialogSettings {
    QString fileName;
    int flags = 0;
    QString title;
    QString filter;  // "Name (*.ext)|*.ext|..." as the program keeps it
};

namespace FileDialogFlags {
constexpr int ReadOnly = 0x1;
constexpr int OverwritePrompt = 0x2;
constexpr int AllowMultiSelect = 0x200;
constexpr int Explorer = 0x80000;
constexpr int LongNames = 0x200000;
}  // namespace FileDialogFlags

// Open and save dialogs. Both return an empty text after Cancel. An open dialog with multiple
// selection returns one full path for one file, or the folder followed by every chosen name,
// all separated by NUL characters.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual QString showOpen(const FileDialogSettings& settings) = 0;
    virtual QString showSave(const FileDialogSettings& settings) = 0;
};
