// The keyboard shortcuts of the main window's buttons.
#include "main_window/main_window.h"

#include "shell/button_keys.h"
#include "widgets/line_box/line_box.h"

#include <QPushButton>

void MainWindow::addShortcuts() {
    ButtonKeys::addShortcut(startSplittingButton, ButtonKeys::ctrlEnter(), {lineBox, delimiterBox},
                            QStringLiteral(" in the line box or the delimiter box"));
    ButtonKeys::addShortcut(saveResultsButton, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    ButtonKeys::addShortcut(copyResultsButton, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
}
