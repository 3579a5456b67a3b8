#pragma once

#include <QFile>
#include <QString>

// A new file that replaces the file at a path only once it is complete, so that a failure or a
// stop leaves the old file as it was. It is made in the same folder without a name, so that
// nobody else can open it and a killed program leaves nothing behind, and given a short name of
// its own only once complete, right before that name replaces the old one. Where the file system
// has no unnamed files it is made under that short name, readable by the user alone, and such
// names that a killed save left behind are removed by a later save into the folder. Names are
// reached through the folder rather than by the full path, so that the file can be made wherever
// the path itself can be (a name of 255 bytes, a path near the system's limit). A path that is
// a symbolic link keeps the link: the file it points to is replaced.
// Implemented by the host's back-end folder (src/platform/<host>/host_calls/).
class FileReplacement {
  public:
    explicit FileReplacement(const QString& path);
    // An uncommitted new file is closed and removed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Makes the new file, open for writing. False when it could not; errno then names the reason
    // (EACCES or EPERM: the folder takes no new file).
    bool open();
    // Gives the new file the owner, group, mode, extended attributes and access control lists
    // of the file it is to replace (nothing to do when there is none). False when one of them
    // cannot be kept, by a user without the right to give a file away for one.
    bool keepAttributesOfOldFile();
    QFile& file() { return file_; }
    // Writes out what is buffered, waits for the disk and puts the new file in the old one's
    // place. False when it could not; errno then names the reason, and the new file is gone.
    bool commit();
    // Closes and removes the new file.
    void cancel();

  private:
    bool nameNewFile();

    QString targetPath_;
    QByteArray targetName_;
    int folder_ = -1;
    int folderError_ = 0;
    QByteArray temporaryName_;  // empty while the new file has no name
    QFile file_;
};
