#pragma once

#include <QIcon>

// The program's icon, drawn rather than stored: a long bar cut into pieces.
QIcon ApplicationIcon();
