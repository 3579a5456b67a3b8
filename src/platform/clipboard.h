#pragma once

#include <QString>

// The system clipboard, plain text. Each call is one attempt and says whether it succeeded.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual bool tryClear() = 0;
    virtual bool trySetText(const QString& text) = 0;
};
