// Filling and trimming the input list: one line typed in, lines loaded from text files, "Clear
// List" and the Delete key (the Delete key also trims the results list).
#include "batch_window/batch_window.h"

#include "batch_window/report_locations.h"
#include "batch_window/text_file_loader.h"
#include "list_tidying/results_tidying.h"
#include "platform/file_dialogs.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "widgets/report_list/report_list.h"

#include <QFile>

namespace {
const FileDialogSettings kLoadDialog{
    QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files"),
    {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*)")},
    QString(),
    true};
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
    QStringList paths;
    on.step(108, [&] { paths = platform_.fileDialogs.showOpen(kLoadDialog); });
    if (on.test(110, [&] { return paths.isEmpty(); })) {
        return;
    }
    loadChosenFiles(on, paths);
}

void BatchWindow::loadChosenFiles(HandlerGuard& on, const QStringList& paths) {
    on.step(114, [&] { setPointerShape(PointerShape::Hourglass); });
    // One file and several files keep their own step numbers, so that a failing load in a
    // report sent by a user still points at the same place as before.
    const int loadStep = paths.size() == 1 ? 120 : 134;
    for (const QString& path : paths) {
        on.step(loadStep, [&] { LoadTextFileToList(*inputList, path, platform_.messages); });
    }
    on.step(138, [&] { setPointerShape(PointerShape::Default); });
}

void BatchWindow::loadNamedFiles(const QByteArrayList& paths) {
    HandlerGuard on(platform_.messages, BatchWindowLocations::loadLinesFromTextFiles);
    on.step(114, [&] { setPointerShape(PointerShape::Hourglass); });
    // Nobody chose these files in a dialog a moment ago: a box per file that names none of them
    // would not say which is missing, so one message names each file not loaded.
    QStringList notLoaded;
    for (const QByteArray& path : paths) {
        if (const std::optional<QString> reason = LoadNamedFileToList(*inputList, path)) {
            notLoaded << QFile::decodeName(path) + QStringLiteral(": ") + *reason;
        }
    }
    on.step(138, [&] { setPointerShape(PointerShape::Default); });
    if (notLoaded.isEmpty()) {
        return;
    }
    const qsizetype count = notLoaded.size();
    QString text = count == 1 ? QStringLiteral("This file was not loaded:\n\n")
                              : QStringLiteral("These %1 files were not loaded:\n\n").arg(count);
    // The box must still fit on the screen when a whole folder of missing files was named.
    constexpr qsizetype kListed = 20;
    text += notLoaded.mid(0, kListed).join(u'\n');
    if (count > kListed) {
        text += QStringLiteral("\nand %1 more").arg(count - kListed);
    }
    platform_.messages.show(text, MessageButtons::Ok, MessageIcon::Warning);
}

void BatchWindow::loadDroppedFiles(const QStringList& paths) {
    // While the hourglass shows, another operation owns the pointer and the lists.
    if (busy()) {
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
        if (!busy() && !splitRunning()) {
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
    if (busy() || splitRunning() || list->count() == 0) {
        return;
    }
    const std::optional<RowNumber> selected = list->selectedRow();
    if (selected) {
        if (list == resultsList) {
            resultsTidying->rememberRows();
        }
        list->remove(*selected);
    }
}
