#pragma once

#include <QString>
#include <QStringView>

// Edits of a line held in one QString, made to cost what a keystroke should even when the line
// is hundreds of megabytes long. QString inserts and removes by moving everything after the
// edit; these move whichever side of the edit is shorter instead, into free room kept at both
// ends of the buffer, so that typing at either end of a huge line moves nothing at all.
namespace LineBuffer {

void insertAt(QString& text, qsizetype position, QStringView piece);
void removeAt(QString& text, qsizetype position, qsizetype length);

// Gives an unshared copy of the line free room at both ends, in proportion to its length.
void makeRoom(QString& text, qsizetype atLeast = 0);

qsizetype roomAtStart(const QString& text);
qsizetype roomAtEnd(const QString& text);
// Whether typing at either end fits in the buffer for a while without copying the line.
bool hasRoomToType(const QString& text);

}  // namespace LineBuffer
