#pragma once

#include <QString>

class QDialog;

// With YesNo, Yes is the default button. LeaveStay asks before work is cleared: "Leave"
// answers Yes, "Stay" No, and "Stay" is both the default and what Escape answers.
enum class MessageButtons { Ok, YesNo, LeaveStay };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No };

// Modal message boxes, the input box and the program's own dialogs. An empty title means the
// application title.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    virtual MessageAnswer show(const QString& text, MessageButtons buttons = MessageButtons::Ok,
                               MessageIcon icon = MessageIcon::None,
                               const QString& title = QString()) = 0;

    // Returns the typed line, or an empty text after Cancel. Takes a line of any length.
    virtual QString askLine(const QString& prompt, const QString& title = QString(),
                            const QString& defaultAnswer = QString()) = 0;

    // Shows a dialog of the program's own until it is answered; true when it was accepted.
    // Once the program is ending nothing is shown and the answer is false.
    virtual bool runDialog(QDialog& dialog) = 0;

    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }
    QString titleOrApplicationTitle(const QString& title) const {
        return title.isEmpty() ? applicationTitle_ : title;
    }

  private:
    QString applicationTitle_;
};
