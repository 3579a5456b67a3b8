#pragma once

#include "core/text_from_utf8_pieces.h"

#include <QByteArray>
#include <QString>

// Turns the bytes of a text file into text. A UTF-8 or UTF-16 byte-order mark decides;
// otherwise the bytes are UTF-8 when they are valid UTF-8, else Windows-1252, read so that
// every byte becomes one character and none is lost or replaced.
QString DecodeTextFile(const QByteArray& bytes);

// One character per byte in the Windows-1252 code page; the five bytes it leaves undefined
// become the control characters of the same number, as browsers read them.
QString DecodeWindows1252(QByteArrayView bytes);

// The texts of text files joined into one line with a separator between them, as a line box
// takes files dropped on it. Each file's text is exactly DecodeTextFile of its bytes without
// its last line break (RemoveFinalLineBreak); a file without text adds no separator. The bytes
// arrive in pieces and are decoded as they come straight into the one string, so that neither
// a file's bytes nor its text is ever held whole beside the line.
class JoinedTextFiles {
  public:
    // `roomAtEachEnd`: as for TextFromUtf8Pieces, room for an editor to grow the line.
    explicit JoinedTextFiles(qsizetype roomAtEachEnd = 0) : text_(roomAtEachEnd) {}
    // Room for the text of this many bytes in all, separators included.
    void expect(qsizetype bytes) { text_.expect(bytes); }

    void startFile(QStringView separator);
    // False when the file's bytes prove not to be UTF-8: what it gave so far is taken back,
    // and the caller gives all its bytes again from the first, now read as Windows-1252.
    [[nodiscard]] bool append(QByteArrayView piece);
    // False as for append(): the last bytes left a character cut.
    [[nodiscard]] bool endFile();
    // Takes back what the file started last gave, its separator included.
    void abandonFile();

    // Once, at the end.
    QString take() { return text_.take(); }

  private:
    enum class Encoding { Unknown, Utf8, Utf16LE, Utf16BE, Windows1252 };

    void forgetFile();
    void decideEncoding();
    bool decode(QByteArrayView bytes);
    void decodeUtf16(QByteArrayView bytes);
    void decodeUtf16Units(QByteArrayView bytes);
    bool fallBack();

    TextFromUtf8Pieces text_;
    qsizetype fileStart_ = 0;  // before the separator
    qsizetype textStart_ = 0;  // after it
    Encoding encoding_ = Encoding::Unknown;
    QByteArray head_;          // the first bytes, until they tell the encoding
    qsizetype markBytes_ = 0;  // of the byte order mark
    qsizetype toSkip_ = 0;     // of the mark, when the bytes come again
    bool decodedUtf16_ = false;
    char oddByte_ = 0;  // a UTF-16 unit cut between two pieces
    bool holdsOddByte_ = false;
};
