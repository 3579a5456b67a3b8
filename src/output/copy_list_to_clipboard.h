#pragma once

#include <QString>

class ReadableList;
class YieldingLoop;
struct Platform;

// Puts the rows of the list that count as checked on the clipboard, one line each, ending in
// CR LF: cells padded with spaces to their column's widest text and separated by tabs, trailing
// spaces removed. A list without rows leaves the clipboard alone. It yields once per row and
// cell in `loop`. A row that vanishes during a yield is a Failure, and then, as after a stop,
// the clipboard is left unchanged. Without the memory for the clipboard's own copy of the text
// it throws std::bad_alloc, the clipboard by then cleared.
void CopyListToClipboard(Platform& platform, const ReadableList& list, YieldingLoop& loop);

// The text CopyListToClipboard puts on the clipboard, with its yields; `stopped` when the loop
// ended early, and then the text is empty.
struct ClipboardTextResult {
    bool stopped = false;
    QString text;
};
ClipboardTextResult BuildClipboardText(const ReadableList& list, YieldingLoop& loop);
