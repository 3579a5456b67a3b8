#include "output/copy_list_to_clipboard.h"

#include "core/readable_list.h"
#include "core/text_builder.h"
#include "output/cell_reader.h"
#include "platform/clipboard_retry.h"
#include "platform/platform.h"
#include "shell/yielding_loop.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A list without columns still has each row's own text: it counts as one column.
int columnsOf(const ReadableList& list) {
    return std::max(1, list.columnCount());
}

struct ColumnWidths {
    std::vector<qsizetype> widths;
    qsizetype lastColumnChars = 0;  // for the text's size estimate
    bool complete = false;
};

ColumnWidths measureColumns(const ReadableList& list, YieldingLoop& loop) {
    ColumnWidths result;
    CellReader cells(list);
    const int columns = columnsOf(list);
    result.widths.assign(static_cast<size_t>(columns), 0);
    // The last column is never padded: its width only sizes the text, and a results list
    // knows its total length without reading a row.
    const std::optional<qsizetype> knownTotal =
        columns == 1 ? cells.totalLengthOfFirstColumn() : std::nullopt;
    for (int column = 1; column <= columns; ++column) {
        qsizetype& width = result.widths[static_cast<size_t>(column - 1)];
        const qsizetype rows = list.rowCount();
        for (qsizetype row = 1; row <= rows; ++row) {
            if (!loop.yield(row == 1 || row == rows)) {
                return result;
            }
            // A row gone after the yield (see YieldingLoop) fails here, as reading it would.
            const qsizetype length = cells.length(RowNumber(row), column);
            if (knownTotal) {
                continue;
            }
            width = std::max(width, length);
            if (column == columns) {
                result.lastColumnChars += length;
            }
        }
    }
    if (knownTotal) {
        result.lastColumnChars = *cells.totalLengthOfFirstColumn();  // rows may have changed
    }
    result.complete = true;
    return result;
}

// Enough for every row as measured, so the text is never copied while it grows.
qsizetype estimatedSize(const ColumnWidths& measured, qsizetype rows) {
    qsizetype perRow = 2;  // CR LF
    for (size_t k = 0; k + 1 < measured.widths.size(); ++k) {
        perRow += measured.widths[k] + 1;  // padded cell and tab
    }
    return rows * perRow + measured.lastColumnChars;
}

}  // namespace

ClipboardTextResult BuildClipboardText(const ReadableList& list, YieldingLoop& loop) {
    const ColumnWidths measured = measureColumns(list, loop);
    if (!measured.complete) {
        return {true, QString()};
    }

    const int columns = columnsOf(list);
    const qsizetype rows = list.rowCount();
    CellReader cells(list);
    TextBuilder text(estimatedSize(measured, rows));
    const bool checkBoxes = list.showsCheckBoxes();
    for (qsizetype row = 1; row <= rows; ++row) {
        if (!loop.yield(row == 1 || row == rows)) {
            return {true, QString()};
        }
        if (checkBoxes && !list.isChecked(RowNumber(row))) {
            continue;
        }
        const qsizetype lineStart = text.size();
        for (int column = 1; column <= columns; ++column) {
            if (!loop.yield(false)) {
                return {true, QString()};
            }
            const QStringView cell = cells.read(RowNumber(row), column);
            text.append(cell);
            // The last cell's padding and its tab would only be removed again with the line's
            // trailing spaces, so they are never added: a single wide row cannot make every
            // other line cost its width.
            if (column < columns) {
                const qsizetype padding =
                    measured.widths[static_cast<size_t>(column - 1)] - cell.size();
                if (padding > 0) {
                    text.appendRepeated(QLatin1Char(' '), padding);
                }
                text.append(QLatin1Char('\t'));
            }
        }
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
