#pragma once

#include <QString>
#include <QStringList>

// The rule written the plainest way, to check the fast one against.
inline QStringList ReferenceSplit(const QString& text, const QString& delimiter) {
    if (text.isEmpty()) {
        return {};
    }
    if (delimiter.isEmpty()) {
        return {text};
    }
    QStringList pieces;
    QString current;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.mid(i, delimiter.size()) == delimiter) {
            pieces << current;
            current.clear();
            i += delimiter.size();
        } else {
            current += text[i];
            ++i;
        }
    }
    pieces << current;
    return pieces;
}
