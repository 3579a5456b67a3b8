#include "format/text_decoding.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <utility>

namespace {
// Windows-1252 bytes 0x80 to 0x9F; the rest of the code page matches Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool startsWith(QByteArrayView bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < static_cast<qsizetype>(mark.size())) {
        return false;
    }
    qsizetype i = 0;
    for (unsigned char byte : mark) {
        if (static_cast<unsigned char>(bytes[i++]) != byte) {
            return false;
        }
    }
    return true;
}

QString decodeUtf16(QByteArrayView bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return text;
}

// UTF-8 when every byte sequence is valid, else the single-byte reading.
QString decodeUtf8OrWindows1252(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError()) {
        return text;
    }
    return DecodeWindows1252(bytes);
}
}  // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? kWindows1252High[byte - 0x80] : byte;
    }
    return text;
}

QString DecodeTextFile(const QByteArray& bytes) {
    const QByteArrayView view(bytes);
    if (startsWith(view, {0xEF, 0xBB, 0xBF})) {
        return decodeUtf8OrWindows1252(view.sliced(3));
    }
    if (startsWith(view, {0xFF, 0xFE})) {
        return decodeUtf16(view.sliced(2), QStringConverter::Utf16LE);
    }
    if (startsWith(view, {0xFE, 0xFF})) {
        return decodeUtf16(view.sliced(2), QStringConverter::Utf16BE);
    }
    return decodeUtf8OrWindows1252(view);
}

void JoinedTextFiles::startFile(QStringView separator) {
    fileStart_ = text_.size();
    if (fileStart_ > 0) {
        text_.appendText(separator);
    }
    textStart_ = text_.size();
    text_.startPart();
    forgetFile();
}

void JoinedTextFiles::forgetFile() {
    encoding_ = Encoding::Unknown;
    head_.clear();
    markBytes_ = 0;
    toSkip_ = 0;
    decodedUtf16_ = false;
    holdsOddByte_ = false;
}

bool JoinedTextFiles::append(QByteArrayView piece) {
    const qsizetype skipped = std::min(toSkip_, piece.size());
    piece = piece.sliced(skipped);
    toSkip_ -= skipped;
    if (encoding_ == Encoding::Unknown) {
        // The longest mark is three bytes, which the first piece may not hold.
        const qsizetype taken = std::min(piece.size(), 3 - head_.size());
        head_.append(piece.first(taken));
        piece = piece.sliced(taken);
        if (head_.size() < 3) {
            return true;
        }
        decideEncoding();
        if (!decode(QByteArrayView(head_).sliced(markBytes_))) {
            return false;
        }
    }
    return decode(piece);
}

bool JoinedTextFiles::endFile() {
    if (encoding_ == Encoding::Unknown) {
        decideEncoding();
        if (!decode(QByteArrayView(head_).sliced(markBytes_))) {
            return false;
        }
    }
    if (std::exchange(holdsOddByte_, false)) {
        text_.appendText(QStringView(u"\uFFFD"));  // half a unit, as a decoding of the whole
    }
    text_.endPart();
    if (encoding_ == Encoding::Utf8 && text_.hasInvalidBytes()) {
        return fallBack();
    }
    const QStringView text = text_.textFrom(textStart_);
    const qsizetype lineBreak = text.endsWith(u"\r\n")                         ? 2
                                : text.endsWith(u'\r') || text.endsWith(u'\n') ? 1
                                                                               : 0;
    const qsizetype end = textStart_ + text.size() - lineBreak;
    text_.truncate(end == textStart_ ? fileStart_ : end);
    forgetFile();
    return true;
}

void JoinedTextFiles::abandonFile() {
    text_.truncate(fileStart_);
    forgetFile();
}

void JoinedTextFiles::decideEncoding() {
    const QByteArrayView head(head_);
    encoding_ = Encoding::Utf8;
    markBytes_ = 0;
    if (startsWith(head, {0xEF, 0xBB, 0xBF})) {
        markBytes_ = 3;
    } else if (startsWith(head, {0xFF, 0xFE})) {
        encoding_ = Encoding::Utf16LE;
        markBytes_ = 2;
    } else if (startsWith(head, {0xFE, 0xFF})) {
        encoding_ = Encoding::Utf16BE;
        markBytes_ = 2;
    }
}

bool JoinedTextFiles::decode(QByteArrayView bytes) {
    switch (encoding_) {
        case Encoding::Utf8:
            text_.append(bytes);
            return !text_.hasInvalidBytes() || fallBack();
        case Encoding::Utf16LE:
        case Encoding::Utf16BE:
            decodeUtf16(bytes);
            return true;
        case Encoding::Windows1252:
            text_.appendText(DecodeWindows1252(bytes));
            return true;
        case Encoding::Unknown:
            break;
    }
    return true;
}

bool JoinedTextFiles::fallBack() {
    // Reading the bytes again costs less than keeping them all in case they are not UTF-8.
    text_.truncate(textStart_);
    encoding_ = Encoding::Windows1252;
    toSkip_ = markBytes_;
    return false;
}

void JoinedTextFiles::decodeUtf16(QByteArrayView bytes) {
    if (holdsOddByte_ && !bytes.isEmpty()) {
        const char unit[2] = {oddByte_, bytes.front()};
        holdsOddByte_ = false;
        decodeUtf16Units(QByteArrayView(unit, 2));
        bytes = bytes.sliced(1);
    }
    const qsizetype whole = bytes.size() & ~qsizetype(1);
    decodeUtf16Units(bytes.first(whole));
    if (whole < bytes.size()) {
        oddByte_ = bytes.back();
        holdsOddByte_ = true;
    }
}

void JoinedTextFiles::decodeUtf16Units(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    // Only the file's first unit may be a second mark to drop, as in a decoding of the whole.
    QStringDecoder decoder(
        encoding_ == Encoding::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
        decodedUtf16_
            ? QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom
            : QStringConverter::Flag::Stateless);
    decodedUtf16_ = true;
    text_.appendText(QString(decoder.decode(bytes)));
}
