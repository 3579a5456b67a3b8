#include "shell/button_keys.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace {
class EnterPressesButton : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            return false;
        }
        // A held key repeats: one press of Enter must not run a handler again and again.
        if (!key->isAutoRepeat()) {
            static_cast<QPushButton*>(watched)->click();
        }
        return true;
    }
};
}  // namespace

namespace ButtonKeys {

void pressOnEnter(QPushButton* button) {
    button->installEventFilter(new EnterPressesButton(button));
}

void addShortcut(QPushButton* button, const QList<QKeySequence>& keys,
                 const QList<QWidget*>& fields, const QString& where) {
    const auto addTo = [&](QWidget* owner, Qt::ShortcutContext context) {
        auto* shortcut = new QShortcut(owner);
        shortcut->setKeys(keys);
        shortcut->setContext(context);
        // Through click(), a shortcut meets every check a click meets, and runs the same
        // handler the same way.
        QObject::connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
    };
    if (fields.isEmpty()) {
        addTo(button->window(), Qt::WindowShortcut);
    }
    for (QWidget* field : fields) {
        addTo(field, Qt::WidgetShortcut);
    }
    button->setToolTip(keys.value(0).toString(QKeySequence::NativeText) + where);
}

QList<QKeySequence> ctrlEnter() {
    return {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)};
}

}  // namespace ButtonKeys
