#pragma once

#include <QString>

class ReadableList;
class YieldingLoop;
struct Platform;

// Puts the list's rows on the clipboard, one line each, trailing spaces removed, each ending in
// CR LF. A list without rows leaves the clipboard alone. It yields in `loop` once per row while
// it measures the text and twice per row while it builds it. A row that vanishes during a yield is
// a Failure, and then, as after a stop, the clipboard is left unchanged. Without the memory for the
// clipboard's own copy of the text it throws std::bad_alloc, the clipboard by then cleared.
void CopyListToClipboard(Platform& platform, const ReadableList& list, YieldingLoop& loop);

// The text CopyListToClipboard puts on the clipboard, with its yields; `stopped` when the loop
// ended early, and then the text is empty.
struct ClipboardTextResult {
    bool stopped = false;
    QString text;
};
ClipboardTextResult BuildClipboardText(const ReadableList& list, YieldingLoop& loop);
