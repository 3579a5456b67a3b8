#pragma once

#include <QString>

// Whether a file of that name exists; never fails. A folder is not a file.
bool FileExists(QString path);
