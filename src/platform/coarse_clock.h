#pragma once

#include <QtGlobal>

// Milliseconds on a clock that never goes back, read in a few nanoseconds at a resolution of a
// few milliseconds: cheap enough for a loop to ask once per item of millions, fine enough to
// tell frames apart. Implemented by the host's back-end folder, chosen in CMake.
qint64 CoarseMonotonicMilliseconds();
