#pragma once

#include "platform/clipboard.h"

class QtClipboard : public Clipboard {
  public:
    bool tryClear() override;
    bool trySetText(const QString& text) override;
};
