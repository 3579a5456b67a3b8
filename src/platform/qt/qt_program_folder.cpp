#include "platform/qt/qt_program_folder.h"

#include <QCoreApplication>

QString QtProgramFolder::path() const {
    return QCoreApplication::applicationDirPath();
}
