// The keyboard shortcuts of the main window's buttons.
#include "main_window/main_window.h"

#include "shell/button_keys.h"
#include "shell/guide_window.h"
#include "widgets/line_box/line_box.h"

#include <QPushButton>
#include <QShortcut>

void MainWindow::addShortcuts() {
    ButtonKeys::addShortcut(startSplittingButton, ButtonKeys::ctrlEnter(), {lineBox, delimiterBox},
                            QStringLiteral(" in the line box or the delimiter box"));
    ButtonKeys::addShortcut(saveResultsButton, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    ButtonKeys::addShortcut(copyResultsButton, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    GuideWindow::addKey(this, helpButton, QStringLiteral("Help: where to ask questions."));
    // The line box is several Tabs from the window's first focus; a browser's key for its
    // address line reaches it at once, ready for a paste over the old line.
    auto* toLineBox = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    toLineBox->setContext(Qt::WindowShortcut);
    connect(toLineBox, &QShortcut::activated, this, [this] {
        lineBox->setFocus(Qt::ShortcutFocusReason);
        lineBox->selectAll();
    });
}
