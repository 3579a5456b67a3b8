#pragma once

#include <QString>
#include <QStringList>

// What the program sets on a file dialog before each opening.
struct FileDialogSettings {
    QString title;
    QStringList nameFilters;         // as the dialog lists them, e.g. "Text Files (*.txt)"
    QString fileName;                // selected when the dialog opens; empty for none
    bool multipleSelection = false;  // open dialog only
};

// Open and save dialogs. Paths come back whole, with the platform's separators.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // Every chosen file, in the order the dialog gives them; empty after Cancel.
    virtual QStringList showOpen(const FileDialogSettings& settings) = 0;
    // The chosen name exactly as typed (no extension is added), or empty after Cancel. The
    // dialog never asks about replacing a file: the save routine asks itself.
    virtual QString showSave(const FileDialogSettings& settings) = 0;
};
