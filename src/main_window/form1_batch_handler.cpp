// "Split Multiple Long Lines At Once": over to the batch window.
#include "main_window/form1.h"

#include "batch_window/form2.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"

void Form1::PushButton7_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.PushButton7_Click"));
    on.step(100, [&] {
        if (batchWindow_ == nullptr) {
            // A top-level window of its own: it must not follow the main window when that
            // hides. It is deleted when it unloads, or with the main window at the end.
            auto* batch = new Form2(platform_, this);
            batchWindow_ = batch;
            connect(batch, &Form2::unloaded, this, [this, batch] {
                if (batchWindow_ == batch) {
                    batchWindow_ = nullptr;
                }
            });
            connect(this, &QObject::destroyed, batch, [batch] { delete batch; });
            batch->Form_Load();
            batch->showCentred();
        } else {
            batchWindow_->show();
        }
    });
    on.step(102, [&] { hide(); });
}
