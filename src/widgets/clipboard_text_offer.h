#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QString>

// Text on the clipboard that another program's request can never make this one fail. Other
// programs ask for it from inside the event loop, where nothing may throw: Qt's X clipboard
// takes UTF-8 bytes as they are for UTF-8 targets, but for STRING and TEXT turns them into a
// QString and then Latin-1 with no way to say it failed. UTF8_STRING, STRING and TEXT all
// read "text/plain", so a request for it is answered only while that conversion's memory can
// be had; without it the other program gets nothing and this one goes on. A request for
// "text/plain;charset=utf-8" is never converted further and is answered whenever its bytes are.
class ClipboardTextOffer : public QMimeData {
  public:
    // The text converted here, once: running out of memory throws std::bad_alloc to the one
    // who copies, who can say so, rather than to a request. For long texts made to be copied.
    static ClipboardTextOffer* convertedNow(const QString& text);
    // The text kept as it is, shared with whoever made it: this program's own paste takes it
    // without a copy, and another program's request converts it then, or gets nothing when
    // memory is short. For a line box's selection, which may be the whole of a huge line.
    static ClipboardTextOffer* sharing(const QString& text);

    QStringList formats() const override;
    bool hasFormat(const QString& format) const override;

  protected:
    QVariant retrieveData(const QString& format, QMetaType type) const override;

  private:
    ClipboardTextOffer() = default;

    QString text_;     // when sharing
    QByteArray utf8_;  // when converted now
    bool shared_ = false;
};
