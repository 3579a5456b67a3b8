#pragma once

#include "platform/file_dialogs.h"

class QtFileDialogs : public FileDialogs {
  public:
    QStringList showOpen(const FileDialogSettings& settings) override;
    QString showSave(const FileDialogSettings& settings) override;
};
