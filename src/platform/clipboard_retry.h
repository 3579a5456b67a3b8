#pragma once

#include <QString>

class Clipboard;

// Another program may hold the clipboard for a moment, so each operation is attempted up to
// this many times. When every attempt fails the copy is dropped, without a word unless the
// caller says one (false): the user can simply copy again. Running out of memory is no
// busy clipboard: std::bad_alloc is thrown at once, for the caller to report.
constexpr int kClipboardAttempts = 1000;

bool ClearClipboard(Clipboard& clipboard);
bool SetClipboardText(Clipboard& clipboard, const QString& text);
