#include "shell/pointer_feedback.h"

#include "platform/program_folder.h"

QString HandPointerPath(const ProgramFolder& programFolder) {
    return programFolder.path() + QStringLiteral("/HAND-M.CUR");
}

void InstallPointerFeedback(WindowMousePointer& /*pointer*/, const QList<QWidget*>& /*buttons*/,
                            const QList<QWidget*>& /*arrowAreas*/) {}
