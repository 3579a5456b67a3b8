// Trimming the results: Delete, double-click and "Clear Results", all idle while busy.
#include "main_window/form1.h"

#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "platform/windows_keys.h"
#include "shell/handler_guard.h"

void Form1::ListView1_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode != WindowsKeys::Delete) {
        return;
    }
    removeSelectedResult();
}

void Form1::ListView1_DblClick() {
    removeSelectedResult();
}

void Form1::removeSelectedResult() {
    if (MousePointer() == PointerShape::Hourglass || ListView1->count() == 0) {
        return;
    }
    const qsizetype selected = ListView1->selectedRow();
    if (selected == 0) {
        return;
    }
    ListView1->remove(selected);
}

void Form1::PushButton3_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form1.PushButton3_Click"));
    on.step(100, [&] {
        if (MousePointer() != PointerShape::Hourglass) {
            ListView1->clear();
        }
    });
}
