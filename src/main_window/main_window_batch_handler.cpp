// "Split Multiple Long Lines At Once": over to the batch window.
#include "main_window/main_window.h"

#include "batch_window/batch_window.h"
#include "main_window/report_locations.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"

BatchWindow* MainWindow::batchWindow() const {
    return batchWindow_ != nullptr && !batchWindow_->unloaded() ? batchWindow_.data() : nullptr;
}

void MainWindow::openBatchWindow() {
    HandlerGuard on(platform_.messages, MainWindowLocations::openBatchWindow);
    on.step(100, [&] {
        if (batchWindow_ != nullptr && !batchWindow_->unloaded()) {
            batchWindow_->show();
            return;
        }
        if (batchWindow_ != nullptr && batchWindow_->canReopen()) {
            batchWindow_->resetForReopening();
        } else {
            if (batchWindow_ != nullptr) {
                // A run of the old window is still on the stack: it keeps its window until
                // it returns, and this opening gets a new one.
                batchWindow_->discardWhenIdle();
            }
            // A top-level window of its own: it must not follow the main window when that
            // hides. It goes with the main window at the end.
            auto* batch = new BatchWindow(platform_, this);
            connect(this, &QObject::destroyed, batch, [batch] { delete batch; });
            batchWindow_ = batch;
        }
        batchWindow_->load();
        batchWindow_->showCentred();
    });
    on.step(102, [&] { hide(); });
}

void MainWindow::openBatchWindowWith(const QByteArrayList& paths) {
    openBatchWindow();
    if (BatchWindow* batch = batchWindow()) {
        batch->loadLinesFromFilesGiven(paths);
    }
}
