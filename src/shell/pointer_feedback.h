#pragma once

#include <QList>
#include <QString>

class HandlerGuard;
class PointerShapes;
class ProgramFolder;
class QWidget;
class WindowMousePointer;

// The hand pointer file in the program folder.
QString HandPointerPath(const ProgramFolder& programFolder);

// The two load steps both windows share: (104) is the hand pointer file there, and (106) if
// so, load it as the window's custom pointer image. A missing file is not a failure.
void LoadHandPointer(HandlerGuard& on, const ProgramFolder& programFolder, PointerShapes& shapes,
                     WindowMousePointer& pointer);

// Hover rules: over each of `buttons` the window's pointer becomes the custom one (the hand),
// over each of `arrowAreas` (the window itself, frames, text boxes, lists) the arrow, never
// replacing the hourglass.
void InstallPointerFeedback(WindowMousePointer& pointer, const QList<QWidget*>& buttons,
                            const QList<QWidget*>& arrowAreas);
