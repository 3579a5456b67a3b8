#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringView>
#include <QTextLayout>

// What the boxes and lists draw in place of characters that have no mark of their own, so
// that a pasted Tab or line break can be seen before the line is split at it. Only the drawing
// changes: the text that is split, copied, saved and read aloud stays as it was.
//
// The shown text has one character per code unit of the source, so a position in one is the
// same position in the other: a Tab is "→", a line break "↵" (for CR LF the LF becomes a
// zero-width space, one picture for the pair), other C0 characters and DEL their control
// pictures. Line and paragraph separators and object replacement characters, which would
// break or hide the line, become blanks.
struct ShownText {
    struct Run {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Run&) const = default;
    };
    QString text;
    QList<Run> pictures;   // the stretches of `text` drawn in a muted colour
    bool changed = false;  // whether `text` differs from the source at all
};

// With `spaces`, each space is a muted "·" too: in a box of a few characters, such as a
// delimiter, ", " and "," look the same otherwise.
ShownText WithControlPictures(QStringView text, bool spaces = false);

// The pictures' stretches as formats for a text layout of the shown text.
QList<QTextLayout::FormatRange> PictureFormats(const ShownText& shown, const QColor& color);
