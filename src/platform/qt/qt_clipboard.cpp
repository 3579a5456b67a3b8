#include "platform/qt/qt_clipboard.h"

#include "core/fault_injection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringEncoder>

#include <cstdlib>
#include <new>

namespace {

const QString kPlainText = QStringLiteral("text/plain");
const QString kUtf8Text = QStringLiteral("text/plain;charset=utf-8");

// Room for `text` in UTF-8: one to three bytes a UTF-16 unit, which is never less than the
// encoder writes (four for a pair, at most three for a lone surrogate). Allocating this
// instead of QString::toUtf8's three bytes a unit keeps a long offer near its own size.
qsizetype utf8RoomFor(QStringView text) {
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
    }
    return bytes;
}

QByteArray utf8Of(const QString& text) {
    QByteArray bytes(utf8RoomFor(text), Qt::Uninitialized);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* end = encoder.appendToBuffer(bytes.data(), text);
    bytes.truncate(end - bytes.constData());
    return bytes;
}

// Whether `bytes` could be had now. A fresh block is only reserved, never touched, so this
// costs a pair of system calls however large it is.
bool couldAllocate(qsizetype bytes) {
    FaultInjection::hit("clipboard.request");
    void* volatile block = std::malloc(static_cast<size_t>(bytes));
    const bool had = block != nullptr || bytes == 0;
    std::free(block);
    return had;
}

// Text on offer, held once as UTF-8 prepared when it was put on the clipboard. Other
// programs ask for it from inside the event loop, where nothing may throw: Qt's X clipboard
// takes these bytes as they are for UTF-8 targets, but for STRING and TEXT turns them into a
// QString and then Latin-1 with no way to say it failed. UTF8_STRING, STRING and TEXT all
// read "text/plain", so a request for it is answered only while that conversion's memory
// can be had; without it the other program gets nothing and this one goes on. A request
// for "text/plain;charset=utf-8" is never converted and always answered.
class TextOffer : public QMimeData {
  public:
    explicit TextOffer(QByteArray utf8) : utf8_(std::move(utf8)) {}

    QStringList formats() const override { return {kPlainText, kUtf8Text}; }
    bool hasFormat(const QString& format) const override {
        return format == kPlainText || format == kUtf8Text;
    }

  protected:
    QVariant retrieveData(const QString& format, QMetaType type) const override {
        if (!hasFormat(format)) {
            return {};
        }
        try {
            if (type.id() == QMetaType::QString) {
                return QString::fromUtf8(utf8_);
            }
            const qsizetype latin1Conversion = 3 * utf8_.size();  // a QString, then Latin-1
            if (format == kPlainText && !couldAllocate(latin1Conversion)) {
                return {};
            }
            return utf8_;
        } catch (const std::bad_alloc&) {
            return {};
        }
    }

  private:
    const QByteArray utf8_;
};

}  // namespace

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
    clipboard->setMimeData(new TextOffer(utf8Of(text)));
    return true;
}
