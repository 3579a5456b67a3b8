#pragma once

#include "output/loop_stop.h"

#include <QString>

class ReadableList;
struct Platform;

// Writes every row of the list as one line ending in CR LF, in the system encoding, asking
// first before an existing file is replaced. The file on disk changes only when the whole new
// content has been written: a failure (thrown as Failure) or a stop leaves any old file as it
// was and no temporary file behind. Nothing is written after "No".
void SaveListToTextFile(Platform& platform, const ReadableList& list, const QString& fileName,
                        const LoopStop& stopRequested = {});
