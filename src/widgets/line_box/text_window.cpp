#include "widgets/line_box/text_window.h"

#include "widgets/line_box/text_boundaries.h"

#include <algorithm>

TextWindow windowAround(const QString& text, qsizetype pos, qsizetype before, qsizetype after) {
    const qsizetype size = text.size();
    pos = std::clamp<qsizetype>(pos, 0, size);
    qsizetype start = pos - before;
    qsizetype end = pos + after;
    if (start < 0) {
        end -= start;
        start = 0;
    }
    if (end > size) {
        start -= end - size;
        end = size;
    }
    start = std::max<qsizetype>(start, 0);
    return {TextBoundaries::graphemeStartAtOrBefore(text, start),
            TextBoundaries::graphemeEndAtOrAfter(text, end)};
}
