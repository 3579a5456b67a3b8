#include "output/copy_list_to_clipboard.h"

#include "core/readable_list.h"
#include "core/text_builder.h"
#include "output/cell_reader.h"
#include "platform/clipboard_retry.h"
#include "platform/platform.h"
#include "shell/yielding_loop.h"

#include <optional>

namespace {

// The length of every row together, read row by row with a yield before each; nullopt when
// the loop was told to stop. A results list knows its total without the pass, yet every row is
// still read, so that a row gone after a yield (see YieldingLoop) fails here as reading it would.
std::optional<qsizetype> measureRows(const ReadableList& list, YieldingLoop& loop) {
    CellReader cells(list);
    const bool knownTotal = cells.totalLength().has_value();
    qsizetype chars = 0;
    const qsizetype rows = list.rowCount();
    for (qsizetype row = 1; row <= rows; ++row) {
        if (!loop.yield(row == 1 || row == rows)) {
            return std::nullopt;
        }
        chars += cells.length(RowNumber(row));
    }
    if (knownTotal) {
        return cells.totalLength();  // rows may have changed
    }
    return chars;
}

}  // namespace

ClipboardTextResult BuildClipboardText(const ReadableList& list, YieldingLoop& loop) {
    const std::optional<qsizetype> chars = measureRows(list, loop);
    if (!chars) {
        return {true, QString()};
    }

    const qsizetype rows = list.rowCount();
    CellReader cells(list);
    // Enough for every row as measured and its CR LF, so the text is never copied while it
    // grows.
    TextBuilder text(rows * 2 + *chars);
    for (qsizetype row = 1; row <= rows; ++row) {
        // Two yields a row: the window's events and a stop are looked for as often as ever, and
        // the pump's count of calls between its looks at the clock stays the same.
        if (!loop.yield(row == 1 || row == rows) || !loop.yield(false)) {
            return {true, QString()};
        }
        const qsizetype lineStart = text.size();
        text.append(cells.read(RowNumber(row)));
        text.chopSpacesAfter(lineStart);
        text.appendLineEnd();
    }
    return {false, text.take()};
}

void CopyListToClipboard(Platform& platform, const ReadableList& list, YieldingLoop& loop) {
    if (list.rowCount() == 0) {
        return;
    }
    const ClipboardTextResult built = BuildClipboardText(list, loop);
    if (built.stopped) {
        return;
    }
    ClearClipboard(platform.clipboard);
    SetClipboardText(platform.clipboard, built.text);
}
