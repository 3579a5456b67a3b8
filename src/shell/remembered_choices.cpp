#include "shell/remembered_choices.h"

#include <QSettings>

namespace {

// Named here rather than by the application object, which a test program names after itself.
QSettings settings() {
    return QSettings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane"));
}

}  // namespace

namespace RememberedChoices {

QVariant value(const QString& key, const QVariant& fallback) {
    return settings().value(key, fallback);
}

void setValue(const QString& key, const QVariant& value) {
    settings().setValue(key, value);
}

}  // namespace RememberedChoices
