#include "widgets/line_box/line_buffer.h"

#include <algorithm>
#include <cstring>

namespace LineBuffer {
namespace {
constexpr qsizetype kMinRoom = 1024;
// 1/32 of the line: a few megabytes for a huge line, typed full only after millions of keys.
constexpr int kRoomShift = 5;
}  // namespace

qsizetype roomAtStart(const QString& text) {
    return const_cast<QString&>(text).data_ptr().freeSpaceAtBegin();
}

qsizetype roomAtEnd(const QString& text) {
    return text.capacity() - text.size();
}

bool hasRoomToType(const QString& text) {
    return roomAtStart(text) >= kMinRoom && roomAtEnd(text) >= kMinRoom;
}

void makeRoom(QString& text, qsizetype atLeast) {
    const qsizetype room = std::max(kMinRoom, atLeast) + (text.size() >> kRoomShift);
    QString fresh;
    fresh.reserve(text.size() + 2 * room);
    // The leading filler is dropped again, which leaves its room at the start of the buffer.
    fresh.resize(room);
    fresh.append(text);
    fresh.remove(0, room);
    text = std::move(fresh);
}

void insertAt(QString& text, qsizetype position, QStringView piece) {
    const qsizetype n = piece.size();
    const qsizetype size = text.size();
    position = std::clamp<qsizetype>(position, 0, size);
    if (n == 0) {
        return;
    }
    const bool headIsShorter = position < size - position;
    if (!text.isDetached() || (headIsShorter ? roomAtStart(text) : roomAtEnd(text)) < n) {
        makeRoom(text, n);
    }
    if (!headIsShorter) {
        text.insert(position, piece);  // QString moves the tail, the shorter side
        return;
    }
    // Grow into the room at the start, then move the head back over the new characters.
    text.insert(0, piece);
    char16_t* data = reinterpret_cast<char16_t*>(text.data());
    std::memmove(data, data + n, std::size_t(position) * sizeof(char16_t));
    std::memcpy(data + position, piece.utf16(), std::size_t(n) * sizeof(char16_t));
}

void removeAt(QString& text, qsizetype position, qsizetype length) {
    const qsizetype size = text.size();
    position = std::clamp<qsizetype>(position, 0, size);
    length = std::clamp<qsizetype>(length, 0, size - position);
    if (length == 0) {
        return;
    }
    const qsizetype tail = size - position - length;
    if (tail <= position || !text.isDetached()) {
        text.remove(position, length);
        return;
    }
    // Move the head forward over the removed characters; dropping the start of a QString
    // only moves its start.
    char16_t* data = reinterpret_cast<char16_t*>(text.data());
    std::memmove(data + length, data, std::size_t(position) * sizeof(char16_t));
    text.remove(0, length);
}

}  // namespace LineBuffer
