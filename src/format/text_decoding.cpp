#include "format/text_decoding.h"

#include <QStringDecoder>

#include <array>

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
