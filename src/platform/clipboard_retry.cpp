#include "platform/clipboard_retry.h"

#include "platform/clipboard.h"

namespace {
template <typename Attempt>
void attemptRepeatedly(Attempt&& attempt) {
    for (int i = 0; i < kClipboardAttempts; ++i) {
        try {
            if (attempt()) {
                return;
            }
        } catch (...) {
            // A clipboard that throws is just as busy as one that says no.
        }
    }
}
}  // namespace

void ClearClipboard(Clipboard& clipboard) {
    attemptRepeatedly([&] { return clipboard.tryClear(); });
}

void SetClipboardText(Clipboard& clipboard, const QString& text) {
    attemptRepeatedly([&] { return clipboard.trySetText(text); });
}
