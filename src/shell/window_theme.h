#pragma once

class QWidget;
class ProgramFolder;

// The button-face colour for a window and its frames, labels, check boxes and option buttons.
void ApplyWindowColours(QWidget* window);

// Colours and, when the skin file stands in the program folder, the skin of the main window.
void ApplyMainWindowTheme(QWidget* mainWindow, const ProgramFolder& programFolder);
