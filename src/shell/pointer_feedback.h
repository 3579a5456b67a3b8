#pragma once

#include <QList>
#include <QString>

class ProgramFolder;
class QWidget;
class WindowMousePointer;

// The hand pointer file in the program folder.
QString HandPointerPath(const ProgramFolder& programFolder);

// Hover rules: over each of `buttons` the window's pointer becomes 99 (hand), over each of
// `arrowAreas` (the window itself, frames, text boxes, lists) 0, never replacing 11.
void InstallPointerFeedback(WindowMousePointer& pointer, const QList<QWidget*>& buttons,
                            const QList<QWidget*>& arrowAreas);
