#include "core/text_from_utf8_pieces.h"

#include "core/memory_pages.h"

#include <algorithm>
#include <utility>

namespace {
bool isContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// How many bytes the character that starts with this byte takes; 1 for ASCII and for bytes
// that start no character (those decode on their own).
qsizetype sequenceLength(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0xF0 && b <= 0xF7) {
        return 4;
    }
    if (b >= 0xE0) {
        return b <= 0xEF ? 3 : 1;
    }
    return b >= 0xC0 ? 2 : 1;
}

// Where the piece's last complete character ends: a lead byte near the end whose
// continuation bytes have not all arrived starts the held-back part.
qsizetype completePartOf(QByteArrayView piece) {
    const qsizetype lookBack = std::min<qsizetype>(piece.size(), 3);
    for (qsizetype i = piece.size() - 1; i >= piece.size() - lookBack; --i) {
        if (!isContinuation(piece[i])) {
            return sequenceLength(piece[i]) > piece.size() - i ? i : piece.size();
        }
    }
    return piece.size();
}
}  // namespace

TextFromUtf8Pieces::TextFromUtf8Pieces(qsizetype roomAtEachEnd) : room_(roomAtEachEnd) {
    // Characters for now, never written, so never given memory; they become free room at the
    // start only in take(): Qt grows a buffer in place only while nothing is free at its start.
    text_.resize(room_);
}

void TextFromUtf8Pieces::expect(qsizetype bytes) {
    ensureRoom(bytes + room_);
    // The block is written once from start to end, the case huge pages help.
    PreferHugePages(text_.data(), std::size_t(text_.capacity()) * sizeof(QChar));
}

void TextFromUtf8Pieces::append(QByteArrayView piece) {
    if (heldSize_ > 0) {
        completeHeldCharacter(piece);
        if (piece.isEmpty()) {
            return;
        }
    }
    const qsizetype complete = completePartOf(piece);
    decode(piece.first(complete));
    const QByteArrayView rest = piece.sliced(complete);
    std::copy(rest.begin(), rest.end(), held_);
    heldSize_ = rest.size();
}

void TextFromUtf8Pieces::completeHeldCharacter(QByteArrayView& piece) {
    const qsizetype wanted = sequenceLength(held_[0]);
    qsizetype taken = 0;
    while (heldSize_ < wanted && taken < piece.size() && isContinuation(piece[taken])) {
        held_[heldSize_++] = piece[taken++];
    }
    piece = piece.sliced(taken);
    if (heldSize_ < wanted && piece.isEmpty()) {
        return;  // the next piece may bring the rest
    }
    const qsizetype heldBytes = std::exchange(heldSize_, 0);
    decode(QByteArrayView(held_, heldBytes));
}

void TextFromUtf8Pieces::decode(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    // Only the very first bytes may hold a byte order mark to drop, as QString::fromUtf8 does.
    QStringDecoder decoder(QStringDecoder::Utf8, decodedAny_
                                                     ? QStringDecoder::Flag::Stateless |
                                                           QStringDecoder::Flag::ConvertInitialBom
                                                     : QStringDecoder::Flag::Stateless);
    decodedAny_ = true;
    const qsizetype room = decoder.requiredSpace(bytes.size());
    ensureRoom(room);
    const qsizetype before = text_.size();
    text_.resize(before + room);
    QChar* start = text_.data() + before;
    const QChar* end = decoder.appendToBuffer(start, bytes);
    text_.resize(before + (end - start));
    invalid_ = invalid_ || decoder.hasError();
}

void TextFromUtf8Pieces::endPart() {
    if (heldSize_ > 0) {
        const qsizetype heldBytes = std::exchange(heldSize_, 0);
        decode(QByteArrayView(held_, heldBytes));
    }
}

void TextFromUtf8Pieces::startPart() {
    endPart();
    decodedAny_ = false;
    invalid_ = false;
}

void TextFromUtf8Pieces::appendText(QStringView text) {
    endPart();
    ensureRoom(text.size());
    text_.append(text);
}

void TextFromUtf8Pieces::truncate(qsizetype length) {
    heldSize_ = 0;
    text_.truncate(room_ + std::clamp<qsizetype>(length, 0, size()));
}

void TextFromUtf8Pieces::ensureRoom(qsizetype bytes) {
    // Each byte gives at most one UTF-16 unit.
    const qsizetype needed = text_.size() + bytes;
    if (needed > text_.capacity()) {
        text_.reserve(std::max(needed, text_.size() + text_.size() / 2));
    }
}

QString TextFromUtf8Pieces::take() {
    endPart();
    // Room that text of multi-byte characters did not fill was never written to, so it holds
    // no memory.
    const qsizetype length = text_.size() - room_;
    if (room_ == 0) {
        return std::move(text_);
    }
    if (length < 4 * room_) {
        return QString(text_.constData() + room_, length);
    }
    ensureRoom(room_);
    text_.remove(0, room_);  // only moves the start of the text
    return std::move(text_);
}
