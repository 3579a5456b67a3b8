#pragma once

#include <QString>

class ReadableList;
class YieldingLoop;
struct Platform;

// Writes every row of the list as one line ending in CR LF, in the system encoding, asking
// first before an existing file is replaced. The file on disk changes only when the whole new
// content has been written: a failure (thrown as Failure) or a stop leaves any old file as it
// was and no temporary file behind. Nothing is written after "No". A name that stands for a
// folder, a device, a pipe or a socket is refused before anything is asked or written. A file
// with several names (hard links) keeps them, and a file in a folder that takes no new file is
// still saved: such a file is written in place once the new content is complete and fits on the
// disk. It yields once per row in `loop`.
void SaveListToTextFile(Platform& platform, const ReadableList& list, const QString& fileName,
                        YieldingLoop& loop);
