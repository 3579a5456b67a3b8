// Form1's load handler and its two small buttons.
#include "main_window/form1.h"

#include "platform/controls/progress_bar.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "shell/app_icon.h"
#include "shell/application_title.h"
#include "shell/handler_guard.h"
#include "shell/pointer_feedback.h"
#include "shell/sample_data.h"
#include "shell/web_addresses.h"
#include "shell/window_theme.h"

void Form1::Form_Load() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.Form_Load"));
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
    on.step(128, [&] { ListView1->addColumn(QStringLiteral("Output")); });
    on.step(130, [&] { ListView1->setColumnWidthTwips(1, 7000); });
    on.step(132, [&] { Text1->setText(QString()); });
    on.step(134, [&] { Text2->setText(QStringLiteral(",")); });
}

void Form1::PushButton4_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.PushButton4_Click"));
    on.step(100, [&] {
        platform_.messages.show(QStringLiteral("Questions? Please contact Team Mirtavel at ") +
                                WebAddresses::kContactPage);
    });
}

void Form1::PushButton5_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.PushButton5_Click"));
    on.step(100, [&] { Text1->setText(kSampleLongLine); });
    on.step(102, [&] { Text2->setText(QStringLiteral(",")); });
}
