#pragma once

#include <QString>

class ProgressBar;
class WindowMousePointer;

// What a window shows while a list's work runs off its thread: the hourglass, and the work's
// caption on an empty bar, so the user sees what the window is busy with.
void ShowWorkOnTheWindow(WindowMousePointer& pointer, ProgressBar& bar, const QString& caption);
// The pointer and the bar at rest again once the work has ended or stopped.
void ShowTheWindowAtRest(WindowMousePointer& pointer, ProgressBar& bar);
