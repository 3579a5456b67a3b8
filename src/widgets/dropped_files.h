#pragma once

#include <QStringList>

class QMimeData;

// The local files a drag from a file manager carries, in the order it gives them; none for a
// drag of text or of web addresses.
QStringList LocalFilesOf(const QMimeData* data);
