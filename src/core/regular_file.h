#pragma once

#include <QString>

class QFile;

// Opens a file for reading only when it is a regular file (or a link to one), and never waits:
// opening a FIFO for reading blocks until another program writes to it, and a device such as
// /dev/zero never ends. `file` must not be open. A file that cannot be opened, or that is no
// regular file, is a Failure whose description names the file and the reason.
void OpenRegularFileForReading(QFile& file, const QString& path);
