#include "widgets/line_box/text_boundaries.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace TextBoundaries {
namespace {

// Context read on each side of a position; doubled while a cluster fills the whole stretch.
constexpr qsizetype kContext = 32;
constexpr qsizetype kMaxContext = 1 << 14;

enum class CharClass { Space, Word, Other };

CharClass classOf(QChar c) {
    if (c.isSpace()) {
        return CharClass::Space;
    }
    if (c.isLetterOrNumber() || c.isMark() || c.isSurrogate() || c == QLatin1Char('_')) {
        return CharClass::Word;
    }
    return CharClass::Other;
}

QTextBoundaryFinder graphemeFinder(const QString& text, qsizetype from, qsizetype to) {
    return QTextBoundaryFinder(QTextBoundaryFinder::Grapheme, text.constData() + from, to - from);
}

qsizetype skipForward(const QString& text, qsizetype pos, CharClass cls, qsizetype limit) {
    while (pos < limit && classOf(text.at(pos)) == cls) {
        ++pos;
    }
    return pos;
}

qsizetype skipBackward(const QString& text, qsizetype pos, CharClass cls, qsizetype limit) {
    while (pos > limit && classOf(text.at(pos - 1)) == cls) {
        --pos;
    }
    return pos;
}

}  // namespace

bool isGraphemeBoundary(const QString& text, qsizetype pos) {
    if (pos <= 0 || pos >= text.size()) {
        return true;
    }
    const qsizetype from = std::max<qsizetype>(0, pos - kContext);
    const qsizetype to = std::min(text.size(), pos + kContext);
    QTextBoundaryFinder finder = graphemeFinder(text, from, to);
    finder.setPosition(pos - from);
    return finder.isAtBoundary();
}

qsizetype previousGrapheme(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    if (pos == 0) {
        return 0;
    }
    for (qsizetype context = kContext; context <= kMaxContext; context *= 2) {
        const qsizetype from = std::max<qsizetype>(0, pos - context);
        const qsizetype to = std::min(text.size(), pos + 2);
        QTextBoundaryFinder finder = graphemeFinder(text, from, to);
        finder.setPosition(pos - from);
        const qsizetype found = finder.toPreviousBoundary();
        // The finder takes the start of its stretch for a boundary; only trust it there when
        // the stretch starts at the start of the text.
        if (found > 0 || (found == 0 && from == 0)) {
            return from + found;
        }
    }
    return previousCodePoint(text, pos);
}

qsizetype nextGrapheme(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    if (pos == text.size()) {
        return pos;
    }
    for (qsizetype context = kContext; context <= kMaxContext; context *= 2) {
        const qsizetype from = std::max<qsizetype>(0, pos - kContext);
        const qsizetype to = std::min(text.size(), pos + context);
        QTextBoundaryFinder finder = graphemeFinder(text, from, to);
        finder.setPosition(pos - from);
        const qsizetype found = finder.toNextBoundary();
        if (found >= 0 && (from + found < to || to == text.size())) {
            return from + found;
        }
    }
    const bool pair = text.at(pos).isHighSurrogate() && pos + 1 < text.size() &&
                      text.at(pos + 1).isLowSurrogate();
    return pos + (pair ? 2 : 1);
}

qsizetype graphemeStartAtOrBefore(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    return isGraphemeBoundary(text, pos) ? pos : previousGrapheme(text, pos);
}

qsizetype graphemeEndAtOrAfter(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    return isGraphemeBoundary(text, pos) ? pos : nextGrapheme(text, pos);
}

qsizetype previousCodePoint(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    if (pos == 0) {
        return 0;
    }
    const bool pair =
        pos >= 2 && text.at(pos - 1).isLowSurrogate() && text.at(pos - 2).isHighSurrogate();
    return pos - (pair ? 2 : 1);
}

qsizetype nextWordStart(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    const qsizetype limit = std::min(text.size(), pos + kMaxWordRun);
    if (pos < limit) {
        const CharClass cls = classOf(text.at(pos));
        if (cls != CharClass::Space) {
            pos = skipForward(text, pos, cls, limit);
        }
    }
    pos = skipForward(text, pos, CharClass::Space, limit);
    return graphemeEndAtOrAfter(text, pos);
}

qsizetype previousWordStart(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    const qsizetype limit = std::max<qsizetype>(0, pos - kMaxWordRun);
    pos = skipBackward(text, pos, CharClass::Space, limit);
    if (pos > limit) {
        pos = skipBackward(text, pos, classOf(text.at(pos - 1)), limit);
    }
    return graphemeStartAtOrBefore(text, pos);
}

Range wordAt(const QString& text, qsizetype pos) {
    pos = std::clamp<qsizetype>(pos, 0, text.size());
    if (text.isEmpty()) {
        return {};
    }
    // At the end of a word (or of the text) the word before the position is meant.
    qsizetype probe = pos;
    if (probe == text.size() || (probe > 0 && classOf(text.at(probe)) == CharClass::Space &&
                                 classOf(text.at(probe - 1)) != CharClass::Space)) {
        --probe;
    }
    const CharClass cls = classOf(text.at(probe));
    const qsizetype start =
        skipBackward(text, probe, cls, std::max<qsizetype>(0, probe - kMaxWordRun));
    const qsizetype end = skipForward(text, probe, cls, std::min(text.size(), probe + kMaxWordRun));
    return {graphemeStartAtOrBefore(text, start), graphemeEndAtOrAfter(text, end)};
}

}  // namespace TextBoundaries
