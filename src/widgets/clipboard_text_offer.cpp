#include "widgets/clipboard_text_offer.h"

#include "core/fault_injection.h"

#include <QStringEncoder>

#include <cstdlib>
#include <new>

namespace {

const QString kPlainText = QStringLiteral("text/plain");
const QString kUtf8Text = QStringLiteral("text/plain;charset=utf-8");

// Room for `text` in UTF-8: one to three bytes a UTF-16 unit, which is never less than the
// encoder writes (four for a pair, at most three for a lone surrogate). Allocating this
// instead of QString::toUtf8's three bytes a unit keeps a long offer near its own size.
qsizetype Utf8RoomFor(QStringView text) {
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
    }
    return bytes;
}

QByteArray Utf8Of(const QString& text) {
    QByteArray bytes(Utf8RoomFor(text), Qt::Uninitialized);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* end = encoder.appendToBuffer(bytes.data(), text);
    bytes.truncate(end - bytes.constData());
    return bytes;
}

// Whether `bytes` could be had now. A fresh block is only reserved, never touched, so this
// costs a pair of system calls however large it is.
bool CouldAllocate(qsizetype bytes) {
    FaultInjection::hit("clipboard.request");
    void* volatile block = std::malloc(static_cast<size_t>(bytes));
    const bool had = block != nullptr || bytes == 0;
    std::free(block);
    return had;
}

}  // namespace

ClipboardTextOffer* ClipboardTextOffer::convertedNow(const QString& text) {
    QByteArray utf8 = Utf8Of(text);
    auto* offer = new ClipboardTextOffer;
    offer->utf8_ = std::move(utf8);
    return offer;
}

ClipboardTextOffer* ClipboardTextOffer::sharing(const QString& text) {
    auto* offer = new ClipboardTextOffer;
    offer->text_ = text;
    offer->shared_ = true;
    return offer;
}

QStringList ClipboardTextOffer::formats() const {
    return {kPlainText, kUtf8Text};
}

bool ClipboardTextOffer::hasFormat(const QString& format) const {
    return format == kPlainText || format == kUtf8Text;
}

QVariant ClipboardTextOffer::retrieveData(const QString& format, QMetaType type) const {
    if (!hasFormat(format)) {
        return {};
    }
    try {
        if (type.id() == QMetaType::QString) {
            return shared_ ? text_ : QString::fromUtf8(utf8_);
        }
        QByteArray bytes = shared_ ? Utf8Of(text_) : utf8_;
        const qsizetype latin1Conversion = 3 * bytes.size();  // a QString, then Latin-1
        if (format == kPlainText && !CouldAllocate(latin1Conversion)) {
            return {};
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        return {};
    }
}
