// Files dropped on the line box: their text goes into the line where they landed.
#include "main_window/main_window.h"

#include "batch_window/text_file_loader.h"
#include "format/text_lines.h"
#include "main_window/report_locations.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "widgets/line_box/line_box.h"

#include <optional>

void MainWindow::acceptFilesOnLineBox() {
    lineBox->setAcceptsFileDrops(true);
    // Reading happens after the drag has finished, so the file manager is not kept waiting and
    // no message box opens in the middle of a drag.
    connect(lineBox, &LineBox::filesDropped, this, &MainWindow::lineBoxFilesDropped,
            Qt::QueuedConnection);
}

void MainWindow::lineBoxFilesDropped(const QStringList& paths, qsizetype position) {
    // While the hourglass shows, another operation owns the pointer.
    if (pointerShape() == PointerShape::Hourglass) {
        return;
    }
    HandlerGuard on(platform_.messages, MainWindowLocations::lineBoxFilesDropped);
    setPointerShape(PointerShape::Hourglass);
    QString dropped;
    for (const QString& path : paths) {
        on.step(100, [&] {
            if (std::optional<QString> text = ReadTextFile(path, platform_.messages)) {
                RemoveFinalLineBreak(*text);
                dropped += *text;
            }
        });
    }
    if (!dropped.isEmpty()) {
        on.step(102, [&] { lineBox->insertDroppedText(position, dropped); });
    }
    setPointerShape(PointerShape::Default);
}
