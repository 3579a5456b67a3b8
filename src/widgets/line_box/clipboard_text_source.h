#pragma once

#include <QClipboard>
#include <QString>

#include <optional>

// Where line boxes read the text they paste. Qt's clipboard serves unless the program puts a
// source of the host's own in place: Qt holds a selection whole as bytes and then as text more
// than once, which a pasted line of a gigabyte cannot afford.
class ClipboardTextSource {
  public:
    virtual ~ClipboardTextSource() = default;
    // The text on the clipboard or the selection; nothing when this source cannot read it,
    // and Qt's clipboard is asked instead.
    virtual std::optional<QString> text(QClipboard::Mode mode) = 0;
};

// The source stays in place until another (or nullptr, Qt's clipboard) replaces it.
void UseClipboardTextSource(ClipboardTextSource* source);
QString ClipboardTextToPaste(QClipboard::Mode mode);
