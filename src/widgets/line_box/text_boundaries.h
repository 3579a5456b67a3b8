#pragma once

#include <QString>

// Cursor stops in a line that may be hundreds of megabytes long. Each question looks only at a
// short stretch of text around the position asked about, so its cost does not grow with the
// line; the stretches are long enough for every ordinary grapheme cluster and word.
namespace TextBoundaries {

// How far a word move or a double-click looks before it gives up on a single "word": a run of
// letters longer than this is not a word a person moves over, and scanning megabytes for its
// end would freeze the box.
inline constexpr qsizetype kMaxWordRun = 1 << 16;

// Grapheme clusters: a base character with its combining marks, a surrogate pair, CR LF.
bool isGraphemeBoundary(const QString& text, qsizetype pos);
qsizetype previousGrapheme(const QString& text, qsizetype pos);
qsizetype nextGrapheme(const QString& text, qsizetype pos);
qsizetype graphemeStartAtOrBefore(const QString& text, qsizetype pos);
qsizetype graphemeEndAtOrAfter(const QString& text, qsizetype pos);

// One code point back: Backspace removes a single combining mark, as line edits do.
qsizetype previousCodePoint(const QString& text, qsizetype pos);

// Word moves as with Ctrl+Left and Ctrl+Right: forward ends at the start of the next word,
// backward at the start of the word the cursor is in or the one before it.
qsizetype nextWordStart(const QString& text, qsizetype pos);
qsizetype previousWordStart(const QString& text, qsizetype pos);

// The run of letters (or blanks, or punctuation) at pos, as a double-click selects it.
struct Range {
    qsizetype start = 0;
    qsizetype end = 0;
};
Range wordAt(const QString& text, qsizetype pos);

}  // namespace TextBoundaries
