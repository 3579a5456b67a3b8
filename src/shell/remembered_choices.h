#pragma once

#include <QString>
#include <QVariant>

// The user's usual choices in the dialogs (which clean-up steps, which separator), kept in the
// desktop's settings file so that the next run offers them first. Every remembered setting goes
// through here, so that there is one file and one naming of it.
namespace RememberedChoices {

// The choice stored under `key` ("cleanUp/sort"), or `fallback` when none was ever made or the
// settings file cannot be read.
QVariant value(const QString& key, const QVariant& fallback = {});
// Written when the settings object goes, at once; a file that cannot be written loses only the
// choice, never the work it was made for.
void setValue(const QString& key, const QVariant& value);

}  // namespace RememberedChoices
