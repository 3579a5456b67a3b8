#pragma once

#include <QString>

class MessageBoxes;

inline const QString kProductName = QStringLiteral("Quorvane");

// The title of every message box and input box that gives none of its own.
QString ApplicationTitleFor(const QString& productName);  // cut at spaces to 40 characters
void SetApplicationTitle(MessageBoxes& messages);
