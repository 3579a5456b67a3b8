// The batch window's load handler and its small buttons: back, help, the feature note and the
// sample.
#include "batch_window/batch_window.h"

#include "batch_window/report_locations.h"
#include "platform/platform.h"
#include "shell/app_icon.h"
#include "shell/application_title.h"
#include "shell/handler_guard.h"
#include "shell/pointer_feedback.h"
#include "shell/sample_data.h"
#include "shell/web_addresses.h"
#include "shell/window_theme.h"
#include "widgets/line_box/line_box.h"
#include "widgets/report_list/report_list.h"

void BatchWindow::load() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::load);
    on.step(100, [&] { ApplyWindowColours(this); });
    LoadHandPointer(on, platform_.programFolder, platform_.pointers, mousePointer());
    on.step(108, [&] { setWindowTitle(kProductName); });
    on.step(108, [&] { setWindowIcon(ApplicationIcon()); });
    on.step(110, [&] { inputList->addColumn(QStringLiteral(" Long Line(s)")); });
    on.step(112, [&] { inputList->setColumnWidthTwips(1, 7000); });
    on.step(114, [&] { resultsList->addColumn(QStringLiteral(" Output")); });
    on.step(116, [&] { resultsList->setColumnWidthTwips(1, 7000); });
    on.step(118, [&] { delimiterBox->setText(QStringLiteral(",")); });
}

void BatchWindow::goBack() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::goBack);
    on.step(100, [&] {
        if (mainWindow_ != nullptr) {
            mainWindow_->show();
        }
    });
    on.step(102, [&] { unload(); });
}

void BatchWindow::explainFeature() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::explainFeature);
    on.step(100, [&] {
        platform_.messages.show(QStringLiteral(
            "You must load text files into the list. You can not load Word files for example."));
    });
}

void BatchWindow::showHelp() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::showHelp);
    // Whether a browser opened is not examined: nothing is reported either way.
    on.step(100, [&] { platform_.browser.openPage(WebAddresses::kBatchHelpPage); });
}

void BatchWindow::loadSampleData() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::loadSampleData);
    on.step(100, [&] { inputList->append(kSampleLongLine); });
}
