// Filling and trimming the input list: one line typed in, lines loaded from text files, "Clear
// List" and the Delete key (the Delete key also trims the results list).
#include "batch_window/batch_window.h"

#include "batch_window/report_locations.h"
#include "batch_window/text_file_loader.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "widgets/report_list/report_list.h"

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

void BatchWindow::addOneLongLine() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::addOneLongLine);
    QString answer;
    on.step(100, [&] { answer = platform_.messages.askLine(QStringLiteral("Enter Long Line: ")); });
    if (on.test(102, [&] { return answer.isEmpty(); })) {
        return;
    }
    on.step(104, [&] { inputList->append(answer); });
}

void BatchWindow::loadLinesFromTextFiles() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::loadLinesFromTextFiles);
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
    on.step(114, [&] { setPointerShape(PointerShape::Hourglass); });
    if (on.test(116, [&] { return parts.size() == 1; })) {
        QString path;
        on.step(118, [&] { path = parts.value(0); });
        on.step(120, [&] { LoadTextFileToList(*inputList, path, platform_.messages); });
    }
    if (on.test(122, [&] { return parts.size() >= 2; })) {
        const QString folder = parts.value(0);
        for (qsizetype i = 1; i < parts.size(); ++i) {
            QString path;
            on.step(130, [&] { path = folder + QDir::separator() + parts[i]; });
            on.step(132, [&] { path = CollapseDoubleBackslashes(path); });
            on.step(134, [&] { LoadTextFileToList(*inputList, path, platform_.messages); });
        }
    }
    on.step(138, [&] { setPointerShape(PointerShape::Default); });
}

void BatchWindow::loadDroppedFiles(const QStringList& paths) {
    // While the hourglass shows, another operation owns the pointer and the lists.
    if (pointerShape() == PointerShape::Hourglass) {
        return;
    }
    HandlerGuard on(platform_.messages, BatchWindowLocations::loadDroppedFiles);
    setPointerShape(PointerShape::Hourglass);
    for (const QString& path : paths) {
        on.step(100, [&] { LoadTextFileToList(*inputList, path, platform_.messages); });
    }
    setPointerShape(PointerShape::Default);
}

void BatchWindow::clearInputList() {
    HandlerGuard on(platform_.messages, BatchWindowLocations::clearInputList);
    on.step(100, [&] {
        if (pointerShape() != PointerShape::Hourglass && !splitRunning()) {
            inputList->clear();
        }
    });
}

void BatchWindow::inputListKeyPressed(int key) {
    if (key == Qt::Key_Delete) {
        removeSelectedRow(inputList);
    }
}

void BatchWindow::resultsListKeyPressed(int key) {
    if (key == Qt::Key_Delete) {
        removeSelectedRow(resultsList);
    }
}

void BatchWindow::removeSelectedRow(ReportList* list) {
    // A run reads the input rows by number and appends results, so neither list loses a row
    // through the keyboard while one is going, even before its hourglass shows.
    if (pointerShape() == PointerShape::Hourglass || splitRunning() || list->count() == 0) {
        return;
    }
    const qsizetype selected = list->selectedRow();
    if (selected != 0) {
        list->remove(selected);
    }
}
