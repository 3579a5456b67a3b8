#pragma once

#include "platform/message_boxes.h"

class EventPump;

class QtMessageBoxes : public MessageBoxes {
  public:
    explicit QtMessageBoxes(const EventPump& pump) : pump_(pump) {}

    MessageAnswer show(const QString& text, MessageButtons buttons, MessageIcon icon,
                       const QString& title) override;
    QString askLine(const QString& prompt, const QString& title,
                    const QString& defaultAnswer) override;
    bool runDialog(QDialog& dialog) override;

    // A message keeps CR LF and lone CR as built; on screen each of them is one line break.
    static QString displayText(const QString& text);

  private:
    const EventPump& pump_;
};
