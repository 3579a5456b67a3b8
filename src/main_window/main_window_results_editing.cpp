// Trimming the results: Delete, double-click and "Clear Results", all idle while busy.
#include "main_window/main_window.h"

#include "list_tidying/results_tidying.h"
#include "main_window/report_locations.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "widgets/report_list/report_list.h"

void MainWindow::resultsListKeyPressed(int key) {
    if (key != Qt::Key_Delete) {
        return;
    }
    removeSelectedResult();
}

void MainWindow::resultsListDoubleClicked() {
    removeSelectedResult();
}

void MainWindow::removeSelectedResult() {
    if (busy() || resultsList->count() == 0) {
        return;
    }
    const std::optional<RowNumber> selected = resultsList->selectedRow();
    if (!selected) {
        return;
    }
    resultsTidying->rememberRows();
    resultsList->remove(*selected);
}

void MainWindow::clearResults() {
    HandlerGuard on(platform_.messages, MainWindowLocations::clearResults);
    on.step(100, [&] {
        if (!busy()) {
            resultsTidying->rememberRows();
            resultsList->clear();
        }
    });
}
