#pragma once

#include <QIcon>

// The program's icon (resources/icons/quorvane.svg, rendered at the icon theme's sizes): a
// long bar cut into pieces.
QIcon ApplicationIcon();
