#pragma once

#include "platform/program_folder.h"

class QtProgramFolder : public ProgramFolder {
  public:
    QString path() const override;
};
