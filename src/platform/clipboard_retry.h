#pragma once

#include <QString>

class Clipboard;

// Another program may hold the clipboard for a moment, so each operation is attempted up to
// this many times. When every attempt fails the copy is dropped, without a word unless the
// caller says one (false): the user can simply copy again.
constexpr int kClipboardAttempts = 1000;

bool ClearClipboard(Clipboard& clipboard);
bool SetClipboardText(Clipboard& clipboard, const QString& text);
