#pragma once

#include "platform/event_pump.h"
#include "widgets/line_box/clipboard_text_source.h"

// Reads the X clipboard (or the primary selection) over a connection of its own, as UTF-8,
// decoding each piece the owner sends straight into the text: Qt's clipboard would gather the
// bytes whole first and copy the text more than once. Gives way to Qt's clipboard when the
// display is not X, when this program owns the selection, or when the owner does not answer
// the way this reader asks.
class XClipboardTextSource : public ClipboardTextSource {
  public:
    explicit XClipboardTextSource(EventPump& pump) : pump_(pump) {}
    std::optional<QString> text(QClipboard::Mode mode) override;

  private:
    EventPump& pump_;
};
