#include "widgets/control_pictures.h"

namespace {
constexpr char16_t kTabPicture = u'\u2192';        // →
constexpr char16_t kLineBreakPicture = u'\u21B5';  // ↵
constexpr char16_t kZeroWidthSpace = u'\u200B';
constexpr char16_t kControlPictures = u'\u2400';
constexpr char16_t kDeletePicture = u'\u2421';
constexpr char16_t kSpacePicture = u'\u00B7';  // ·

// The picture of a C0 character or DEL, or 0 when the character shows as itself.
char16_t pictureOf(char16_t c, char16_t previous) {
    switch (c) {
        case u'\t':
            return kTabPicture;
        case u'\r':
            return kLineBreakPicture;
        case u'\n':
            return previous == u'\r' ? kZeroWidthSpace : kLineBreakPicture;
        case u'\x7F':
            return kDeletePicture;
        default:
            return c < 0x20 ? char16_t(kControlPictures + c) : 0;
    }
}

bool showsAsBlank(char16_t c) {
    return c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
           c == QChar::ObjectReplacementCharacter;
}
}  // namespace

ShownText WithControlPictures(QStringView text, bool spaces) {
    ShownText shown;
    shown.text = text.toString();
    QChar* shownChars = shown.text.data();
    char16_t previous = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t source = text[i].unicode();
        const char16_t picture =
            spaces && source == u' ' ? kSpacePicture : pictureOf(source, previous);
        if (picture != 0) {
            shownChars[i] = QChar(picture);
            shown.changed = true;
            ShownText::Run* last = shown.pictures.isEmpty() ? nullptr : &shown.pictures.last();
            if (last && last->start + last->length == i) {
                ++last->length;
            } else {
                shown.pictures.append({i, 1});
            }
        } else if (showsAsBlank(source)) {
            shownChars[i] = QLatin1Char(' ');
            shown.changed = true;
        }
        previous = source;
    }
    return shown;
}

QList<QTextLayout::FormatRange> PictureFormats(const ShownText& shown, const QColor& color) {
    QList<QTextLayout::FormatRange> formats;
    formats.reserve(shown.pictures.size());
    for (const ShownText::Run& run : shown.pictures) {
        QTextLayout::FormatRange range;
        range.start = int(run.start);
        range.length = int(run.length);
        range.format.setForeground(color);
        formats.append(range);
    }
    return formats;
}
