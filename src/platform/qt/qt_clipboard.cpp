#include "platform/qt/qt_clipboard.h"

#include "widgets/clipboard_text_offer.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtClipboard::tryClear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    clipboard->clear();
    return true;
}

bool QtClipboard::trySetText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    // Converted here, where running out of memory refuses the copy with a report, rather
    // than on a request, where it would end the program.
    clipboard->setMimeData(ClipboardTextOffer::convertedNow(text));
    return true;
}
