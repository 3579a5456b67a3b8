#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

// Text that arrives as UTF-8 in pieces (a selection sent by another program, a few megabytes
// at a time), decoded as each piece comes straight into one growing string, so that the bytes
// are never held whole beside the text. The result is exactly QString::fromUtf8 of all the
// bytes at once, invalid ones included: a character cut between two pieces is held back until
// its last byte arrives. Qt's stateful decoder is not used for that, because it drops the
// character after an invalid sequence that a piece boundary cuts.
class TextFromUtf8Pieces {
  public:
    // A text of more than a few times `roomAtEachEnd` characters comes with that much free
    // room at both ends of its buffer, for an editor to grow it without copying it; the room
    // at the start is taken at once, so the buffer still grows in place as pieces arrive.
    explicit TextFromUtf8Pieces(qsizetype roomAtEachEnd = 0);
    // Room for the text of this many bytes, when the sender says how much is coming.
    void expect(qsizetype bytes);
    void append(QByteArrayView piece);
    // Once, at the end.
    QString take();

    // Several texts joined in the one string (the files of one drop), each decoded as if alone.
    // The characters so far, without a character still waiting for its last bytes.
    qsizetype size() const { return text_.size() - room_; }
    // The text so far from character `from` on.
    QStringView textFrom(qsizetype from) const { return QStringView(text_).sliced(room_ + from); }
    // The bytes so far end a text: a character they leave cut is decoded as it stands.
    void endPart();
    // The next bytes begin a text of their own: its byte order mark is dropped, and
    // hasInvalidBytes() speaks of its bytes only.
    void startPart();
    // Whether bytes of this text so far were not UTF-8 and became replacement characters.
    bool hasInvalidBytes() const { return invalid_; }
    // Text decoded some other way, appended as it is.
    void appendText(QStringView text);
    // Takes back everything after the first `length` characters, with any cut character.
    void truncate(qsizetype length);

  private:
    void ensureRoom(qsizetype bytes);
    void decode(QByteArrayView bytes);
    // Bytes of a character not yet complete: the lead byte and the continuation bytes so far.
    void completeHeldCharacter(QByteArrayView& piece);

    qsizetype room_;
    QString text_;  // the room at the start, then the text
    char held_[4] = {};
    qsizetype heldSize_ = 0;
    bool decodedAny_ = false;
    bool invalid_ = false;
};
