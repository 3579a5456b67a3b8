#pragma once

#include <QString>

class QWidget;
class ProgramFolder;
class SkinFramework;

// The skin file in the program folder.
QString SkinFilePath(const ProgramFolder& programFolder);

// The button-face colour for a window and its frames, labels, check boxes and option buttons.
void ApplyWindowColours(QWidget* window);

// Colours and, when the skin file stands in the program folder, the skin of the main window.
// The skin component is created as the window's `SkinFramework1` and lives as long as it.
void ApplyMainWindowTheme(QWidget* mainWindow, const ProgramFolder& programFolder);
void ApplyMainWindowTheme(QWidget* mainWindow, const ProgramFolder& programFolder,
                          SkinFramework& skin);
