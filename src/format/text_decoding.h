#pragma once

#include <QByteArray>
#include <QString>

// Turns the bytes of a text file into text. A UTF-8 or UTF-16 byte-order mark decides;
// otherwise the bytes are UTF-8 when they are valid UTF-8, else Windows-1252, read so that
// every byte becomes one character and none is lost or replaced.
QString DecodeTextFile(const QByteArray& bytes);

// One character per byte in the Windows-1252 code page; the five bytes it leaves undefined
// become the control characters of the same number, as browsers read them.
QString DecodeWindows1252(QByteArrayView bytes);
