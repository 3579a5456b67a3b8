#include "shell/file_exists.h"

#include <QFileInfo>

bool FileExists(QString path) {
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && info.lastModified().isValid();
}
