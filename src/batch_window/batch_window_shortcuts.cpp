// The keyboard shortcuts of the batch window's buttons.
#include "batch_window/batch_window.h"

#include "shell/button_keys.h"
#include "widgets/line_box/line_box.h"

#include <QPushButton>

void BatchWindow::addShortcuts() {
    ButtonKeys::addShortcut(startSplittingButton, ButtonKeys::ctrlEnter(), {delimiterBox},
                            QStringLiteral(" in the delimiter box"));
    ButtonKeys::addShortcut(saveResultsButton, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    ButtonKeys::addShortcut(copyResultsButton, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    ButtonKeys::addShortcut(backButton, {QKeySequence(Qt::Key_Escape)});
}
