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
};
