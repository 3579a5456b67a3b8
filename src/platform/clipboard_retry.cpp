#include "platform/clipboard_retry.h"

#include "platform/clipboard.h"

#include <new>

namespace {
template <typename Attempt>
bool attemptRepeatedly(Attempt&& attempt) {
    for (int i = 0; i < kClipboardAttempts; ++i) {
        try {
            if (attempt()) {
                return true;
            }
        } catch (const std::bad_alloc&) {
            throw;  // no other program's doing: trying again would only fail again
        } catch (...) {
            // A clipboard that throws is just as busy as one that says no.
        }
    }
    return false;
}
}  // namespace

bool ClearClipboard(Clipboard& clipboard) {
    return attemptRepeatedly([&] { return clipboard.tryClear(); });
}

bool SetClipboardText(Clipboard& clipboard, const QString& text) {
    return attemptRepeatedly([&] { return clipboard.trySetText(text); });
}
