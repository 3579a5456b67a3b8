#pragma once

#include <QString>

// The folder that holds the program file, without a trailing separator.
class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;
    virtual QString path() const = 0;
};
