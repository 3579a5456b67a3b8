// Filling and trimming the input list: one line typed in, lines loaded from text files, "Clear
// List" and the Delete key (the Delete key also trims the results list).
#include "batch_window/form2.h"

#include "batch_window/text_file_loader.h"
#include "platform/file_dialogs.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "platform/windows_keys.h"
#include "shell/handler_guard.h"

#include <QDir>

namespace {
const FileDialogSettings& loadDialogSettings() {
    static const FileDialogSettings settings{
        QString(),
        FileDialogFlags::ReadOnly | FileDialogFlags::AllowMultiSelect | FileDialogFlags::Explorer |
            FileDialogFlags::LongNames,
        QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"),
        QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|")};
    return settings;
}
}  // namespace

void Form2::PushButton1_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton1_Click"));
    QString answer;
    on.step(100, [&] { answer = platform_.messages.askLine(QStringLiteral("Enter Long Line: ")); });
    if (on.test(102, [&] { return answer.isEmpty(); })) {
        return;
    }
    on.step(104, [&] { ListView1->append(answer); });
}

void Form2::PushButton4_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton4_Click"));
    FileDialogSettings settings;
    on.step(100, [&] { settings.fileName = loadDialogSettings().fileName; });
    on.step(102, [&] { settings.flags = loadDialogSettings().flags; });
    on.step(104, [&] { settings.title = loadDialogSettings().title; });
    on.step(106, [&] { settings.filter = loadDialogSettings().filter; });
    QString answer;
    on.step(108, [&] { answer = platform_.fileDialogs.showOpen(settings); });
    if (on.test(110, [&] { return answer.isEmpty(); })) {
        return;
    }
    QStringList parts;
    on.step(112, [&] { parts = answer.split(QChar(u'\0')); });
    on.step(114, [&] { setMousePointer(PointerShape::Hourglass); });
    if (on.test(116, [&] { return parts.size() == 1; })) {
        QString path;
        on.step(118, [&] { path = parts.value(0); });
        on.step(120, [&] { LoadTextFileToList(*ListView1, path, platform_.messages); });
    }
    if (on.test(122, [&] { return parts.size() >= 2; })) {
        const QString folder = parts.value(0);
        for (qsizetype i = 1; i < parts.size(); ++i) {
            QString path;
            on.step(130, [&] { path = folder + QDir::separator() + parts[i]; });
            on.step(132, [&] { path = CollapseDoubleBackslashes(path); });
            on.step(134, [&] { LoadTextFileToList(*ListView1, path, platform_.messages); });
        }
    }
    on.step(138, [&] { setMousePointer(PointerShape::Default); });
}

void Form2::loadDroppedFiles(const QStringList& paths) {
    // While the hourglass shows, another operation owns the pointer and the lists.
    if (MousePointer() == PointerShape::Hourglass) {
        return;
    }
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.ListView1_OLEDragDrop"));
    setMousePointer(PointerShape::Hourglass);
    for (const QString& path : paths) {
        on.step(100, [&] { LoadTextFileToList(*ListView1, path, platform_.messages); });
    }
    setMousePointer(PointerShape::Default);
}

void Form2::PushButton6_Click() {
    HandlerGuard on(platform_.messages, QStringLiteral("Form2.PushButton6_Click"));
    on.step(100, [&] {
        if (MousePointer() != PointerShape::Hourglass && !splitRunning_) {
            ListView1->clear();
        }
    });
}

void Form2::ListView1_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == WindowsKeys::Delete) {
        removeSelectedRow(ListView1);
    }
}

void Form2::ListView2_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == WindowsKeys::Delete) {
        removeSelectedRow(ListView2);
    }
}

void Form2::removeSelectedRow(ReportList* list) {
    // A run reads the input rows by number and appends results, so neither list loses a row
    // through the keyboard while one is going, even before its hourglass shows.
    if (MousePointer() == PointerShape::Hourglass || splitRunning_ || list->count() == 0) {
        return;
    }
    const qsizetype selected = list->selectedRow();
    if (selected != 0) {
        list->remove(selected);
    }
}
