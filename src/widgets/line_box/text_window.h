#pragma once

#include <QString>

// The stretch of a long line that the box lays out: a little more than what is on screen,
// cut only between grapheme clusters so that no character is split at either edge.
struct TextWindow {
    qsizetype start = 0;
    qsizetype end = 0;

    qsizetype length() const { return end - start; }
    bool contains(qsizetype pos) const { return pos >= start && pos <= end; }
    bool operator==(const TextWindow&) const = default;
};

// At most `before` characters before pos and `after` after it; what one side cannot use
// because the text ends there goes to the other side. The edges move outwards to the nearest
// cluster boundary.
TextWindow windowAround(const QString& text, qsizetype pos, qsizetype before, qsizetype after);
