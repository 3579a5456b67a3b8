#include "widgets/line_box/clipboard_text_source.h"

#include <QGuiApplication>

namespace {
ClipboardTextSource* hostSource = nullptr;
}  // namespace

void UseClipboardTextSource(ClipboardTextSource* source) {
    hostSource = source;
}

QString ClipboardTextToPaste(QClipboard::Mode mode) {
    if (hostSource != nullptr) {
        if (std::optional<QString> text = hostSource->text(mode)) {
            return *std::move(text);
        }
    }
    return QGuiApplication::clipboard()->text(mode);
}
