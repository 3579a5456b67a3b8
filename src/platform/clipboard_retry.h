#pragma once

#include <QString>

class Clipboard;

// Another program may hold the clipboard for a moment, so each operation is attempted up to
// this many times. When every attempt fails the copy is dropped without a word: the user can
// simply copy again.
constexpr int kClipboardAttempts = 1000;

void ClearClipboard(Clipboard& clipboard);
void SetClipboardText(Clipboard& clipboard, const QString& text);
