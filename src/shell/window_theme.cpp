#include "shell/window_theme.h"

void ApplyWindowColours(QWidget* /*window*/) {}

void ApplyMainWindowTheme(QWidget* /*mainWindow*/, const ProgramFolder& /*programFolder*/) {}
