// Form2's load handler and its small buttons: back, help, the feature note and the sample.
#include "batch_window/form2.h"

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

void Form2::Form_Load() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.Form_Load"));
    on.step(100, [&] { ApplyWindowColours(this); });
    LoadHandPointer(on, platform_.programFolder, platform_.pointers, mousePointer());
    on.step(108, [&] { setWindowTitle(kProductName); });
    on.step(108, [&] { setWindowIcon(ApplicationIcon()); });
    on.step(110, [&] { ListView1->addColumn(QStringLiteral(" Long Line(s)")); });
    on.step(112, [&] { ListView1->setColumnWidthTwips(1, 7000); });
    on.step(114, [&] { ListView2->addColumn(QStringLiteral(" Output")); });
    on.step(116, [&] { ListView2->setColumnWidthTwips(1, 7000); });
    on.step(118, [&] { Text2->setText(QStringLiteral(",")); });
}

void Form2::PushButton5_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton5_Click"));
    on.step(100, [&] {
        if (mainWindow_ != nullptr) {
            mainWindow_->show();
        }
    });
    on.step(102, [&] { Form_Unload(); });
}

void Form2::PushButton9_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton9_Click"));
    on.step(100, [&] {
        platform_.messages.show(QStringLiteral(
            "You must load text files into the list. You can not load Word files for example."));
    });
}

void Form2::PushButton10_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton10_Click"));
    // Whether a browser opened is not examined: nothing is reported either way.
    on.step(100, [&] { platform_.browser.openPage(WebAddresses::kBatchHelpPage); });
}

void Form2::PushButton11_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton11_Click"));
    on.step(100, [&] { ListView1->append(kSampleLongLine); });
}
