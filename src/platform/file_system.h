#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

class QFile;
class QFileDevice;

// The file system calls Qt does not offer, as small functions every layer may use. They are
// implemented by the host's back-end folder (src/platform/<host>/host_calls/), chosen in CMake.

enum class PathKind { Missing, RegularFile, NotAFile };

// What a path names now, following symbolic links: nothing, a regular file (with the number of
// names, hard links, it has), or something else (a folder, a device, a pipe or a socket).
struct PathFacts {
    PathKind kind = PathKind::Missing;
    quint64 linkCount = 0;
};
PathFacts LookUpPath(const QString& path);
// The same for a name given as the system's own bytes, which need not be text in the locale's
// encoding (a file named on the command line).
PathFacts LookUpPath(const QByteArray& nativePath);

// The bytes a program without special rights may still write on the disk that holds `path`,
// or nothing when the system cannot say.
std::optional<quint64> FreeBytesOnDiskOf(const QString& path);

// Waits until the system has written what it holds of the open file to the disk. False when it
// could not; errno then names the system's reason.
bool FlushToDisk(QFileDevice& file);

// Opens a file for reading only when it is a regular file (or a link to one), and never waits:
// opening a FIFO for reading blocks until another program writes to it, and a device such as
// /dev/zero never ends. `file` must not be open. A file that cannot be opened, or that is no
// regular file, is a Failure whose description names the file and the reason.
void OpenRegularFileForReading(QFile& file, const QString& path);
void OpenRegularFileForReading(QFile& file, const QByteArray& nativePath);

// A folder that only this user can reach, for files that must not be read or replaced by
// others in a folder everyone may write to (the system's temporary folder): `path` itself when
// it is, or can be made, a real folder (no link) of the user's own with mode 0700; otherwise a
// fresh folder made beside it, named `path` and a unique suffix. Nothing when neither can be had.
std::optional<QString> PrivateFolderAt(const QString& path);

// The files removed from `folder` that this process still holds open, by descriptor: temporary
// files that are removed as soon as they are made and read back later.
std::vector<int> RemovedFilesHeldOpenIn(const QString& folder);
// Closes those of them that are not in `keep` (taken before): after a failure, a library that
// lost track of its temporary files would otherwise hold their disk space until the program
// ends.
void CloseRemovedFilesHeldOpenIn(const QString& folder, const std::vector<int>& keep);
