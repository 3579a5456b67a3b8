#include "batch_window/workbook_export_handler.h"

#include "batch_window/batch_window.h"
#include "batch_window/report_locations.h"
#include "core/readable_list.h"
#include "output/workbook_export.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/mouse_pointer.h"
#include "shell/yielding_loop.h"
#include "widgets/report_list/report_list.h"

#include <optional>

void SaveListAsWorkbook(Platform& platform, const ReadableList& results,
                        WindowMousePointer& pointer) {
    HandlerGuard on(platform.messages, BatchWindowLocations::saveResultsAsWorkbook);
    if (on.test(100, [&] { return !IsSpreadsheetProgramInstalled(platform); })) {
        on.step(178,
                [&] { platform.messages.show(WorkbookExportMessages::kNotInstalledForFeature); });
        return;
    }
    if (on.test(108, [&] { return results.rowCount() == 0; })) {
        return;
    }
    on.step(110, [&] { pointer.set(PointerShape::Hourglass); });

    std::unique_ptr<SpreadsheetApplication> application;
    SpreadsheetWorkbook* workbook = nullptr;
    on.step(112, [&] { application = platform.spreadsheets.createApplication(); });
    if (application != nullptr) {
        on.step(114, [&] { workbook = &application->addWorkbook(); });
    }
    if (workbook == nullptr) {
        // Without the program or a workbook nothing can be written: the one report says why,
        // rather than one more for every cell.
        on.step(176, [&] { pointer.set(PointerShape::Default); });
        return;
    }

    // What may happen to the window at each yield, and what is checked after one: see
    // YieldingLoop. The export goes on when the batch window unloads, as a save does.
    YieldingLoop loop(platform.pump);
    // A list has its one column once it is loaded; a list without it gets no cells, only its
    // rows passed over.
    int columns = 0;
    on.step(118, [&] { columns = results.columnCount(); });
    if (columns > 0) {
        on.step(120, [&] { loop.yield(true); });
        if (loop.mustStop()) {
            return;
        }
        if (on.test(124, [&] { return !results.text(RowNumber(1)).isEmpty(); })) {
            on.step(126, [&] { workbook->assignCell(1, 1, results.headerText(1)); });
        }
    }

    qint64 sheetRow = 2;
    qsizetype rows = 0;
    on.step(140, [&] { rows = results.rowCount(); });
    for (qsizetype r = 1; r <= rows; ++r) {
        on.step(142, [&] { loop.yield(r == 1 || r == rows); });
        if (loop.mustStop()) {
            return;
        }
        // Rows emptied out of the list while events ran (its "Clear List", a new split) are
        // all gone from here on: one report says so, rather than one box per missing row.
        if (r > results.rowCount()) {
            on.step(154, [&] { results.text(RowNumber(r)); });
            break;
        }
        if (columns > 0) {
            on.step(150, [&] { loop.yield(); });
            if (loop.mustStop()) {
                return;
            }
            std::optional<QString> text;
            if (on.test(154, [&] {
                    text = results.text(RowNumber(r));
                    return !text->isEmpty();
                })) {
                on.step(156, [&] {
                    workbook->setCellValue(static_cast<int>(sheetRow), 1, text.value_or(QString()));
                });
            }
        }
        on.step(168, [&] { ++sheetRow; });
    }

    on.step(172, [&] { workbook->autofitColumns(); });
    on.step(174, [&] {
        TellShownWorkbookTroubles(platform);
        application->makeVisible();
    });
    on.step(176, [&] { pointer.set(PointerShape::Default); });
}

void BatchWindow::saveResultsAsWorkbook() {
    SaveListAsWorkbook(platform_, *resultsList, mousePointer());
}
