#pragma once

#include "platform/file_dialogs.h"

#include <QStringList>

class QtFileDialogs : public FileDialogs {
  public:
    QString showOpen(const FileDialogSettings& settings) override;
    QString showSave(const FileDialogSettings& settings) override;

    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" becomes Qt's name filters, in order.
    static QStringList nameFilters(const QString& filter);
    // One path as it is; several as the folder and each name, separated by NUL characters.
    static QString joinSelection(const QStringList& paths);
};
