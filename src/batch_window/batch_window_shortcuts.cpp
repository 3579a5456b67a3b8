// The keyboard shortcuts of the batch window's buttons.
#include "batch_window/batch_window.h"

#include "platform/platform.h"
#include "shell/button_keys.h"
#include "shell/guide_window.h"
#include "widgets/line_box/line_box.h"
#include "widgets/report_list/report_list.h"

#include <QLocale>
#include <QPushButton>
#include <QShortcut>

namespace {
QString Counted(qsizetype count, const QString& one, const QString& many) {
    return QLocale().toString(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}
}  // namespace

void BatchWindow::addShortcuts() {
    ButtonKeys::addShortcut(startSplittingButton, ButtonKeys::ctrlEnter(), {delimiterBox},
                            QStringLiteral(" in the delimiter box"));
    ButtonKeys::addShortcut(saveResultsButton, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    ButtonKeys::addShortcut(copyResultsButton, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)});
    GuideWindow::addKey(this, helpButton,
                        QStringLiteral("Help: the help page, in the web browser."), mainWindow_,
                        QStringLiteral("batch"));
    // Escape is pressed by habit to close a menu or a box, and "< Back" clears both lists with
    // no undo: with anything in them, the key asks first. The button itself goes at once.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (!lifecycle_.isOpen()) {
            return;
        }
        const qsizetype lines = inputList->count();
        const qsizetype results = resultsList->count();
        if (lines > 0 || results > 0) {
            const QString text =
                QStringLiteral("Leave the batch window?\n\n") +
                Counted(lines, QStringLiteral("long line"), QStringLiteral("long lines")) +
                QStringLiteral(" and ") +
                Counted(results, QStringLiteral("result"), QStringLiteral("results")) +
                QStringLiteral(" will be cleared.");
            if (platform_.messages.show(text, MessageButtons::LeaveStay) != MessageAnswer::Yes) {
                return;
            }
        }
        backButton->click();
    });
    backButton->setToolTip(QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText) +
                           QStringLiteral(": back to the main window; both lists are cleared"));
}
