// The main window's load handler and its two small buttons.
#include "main_window/main_window.h"

#include "main_window/report_locations.h"
#include "platform/platform.h"
#include "shell/app_icon.h"
#include "shell/application_title.h"
#include "shell/handler_guard.h"
#include "shell/pointer_feedback.h"
#include "shell/sample_data.h"
#include "shell/web_addresses.h"
#include "shell/window_theme.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

void MainWindow::load() {
    HandlerGuard on(platform_.messages, MainWindowLocations::load);
    on.step(102, [&] { ApplyMainWindowTheme(this, platform_.programFolder); });
    LoadHandPointer(on, platform_.programFolder, platform_.pointers, mousePointer());

    // About one start in a hundred shows the maker's home page.
    on.step(108, [&] {
        const int draw = static_cast<int>(platform_.random.nextFraction() * 100) + 1;
        if (draw == 7) {
            platform_.browser.openPage(WebAddresses::kHomePage);
        }
    });
    on.step(126, [&] { setWindowTitle(kProductName); });
    on.step(126, [&] { setWindowIcon(ApplicationIcon()); });
    on.step(126, [&] { SetApplicationTitle(platform_.messages); });
    on.step(128, [&] { resultsList->addColumn(QStringLiteral("Output")); });
    on.step(130, [&] { resultsList->setColumnWidthTwips(1, 7000); });
    on.step(132, [&] { lineBox->setText(QString()); });
    on.step(134, [&] { delimiterBox->setText(QStringLiteral(",")); });
}

void MainWindow::showHelp() {
    HandlerGuard on(platform_.messages, MainWindowLocations::showHelp);
    on.step(100, [&] {
        platform_.messages.show(QStringLiteral("Questions? Please contact Team Mirtavel at ") +
                                WebAddresses::kContactPage);
    });
}

void MainWindow::loadSampleData() {
    HandlerGuard on(platform_.messages, MainWindowLocations::loadSampleData);
    on.step(100, [&] { lineBox->setText(kSampleLongLine); });
    on.step(102, [&] { delimiterBox->setText(QStringLiteral(",")); });
}
