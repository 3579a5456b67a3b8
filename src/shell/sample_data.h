#pragma once

#include <QString>

// Seven e-mail addresses joined by "," with no blanks, offered by both windows' sample buttons.
inline const QString kSampleLongLine = QStringLiteral(
    "ada@quorvane.example,bert@quorvane.example,cleo@quorvane.example,dan@quorvane.example,"
    "eve@quorvane.example,finn@quorvane.example,gwen@quorvane.example");
