#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QPushButton;
class QWidget;

// The keys that press the windows' buttons, as a desktop user expects them to.
namespace ButtonKeys {

// Enter and the keypad's Enter press the focused button as Space does. Qt gives that only to
// the buttons of dialogs, and there through their default button.
void pressOnEnter(QPushButton* button);

// Any of `keys` presses `button` as a click does, wherever the focus is in the button's window
// or, when `fields` are given, only while one of them has it. The button's tooltip names the
// first of the keys, followed by `where`.
void addShortcut(QPushButton* button, const QList<QKeySequence>& keys,
                 const QList<QWidget*>& fields = {}, const QString& where = QString());

// Ctrl with Enter, on the main keys (Return) or on the keypad.
QList<QKeySequence> ctrlEnter();

}  // namespace ButtonKeys
