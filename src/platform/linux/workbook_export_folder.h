#pragma once

#include <QString>
#include <QStringList>

// The folder where workbooks wait for the spreadsheet program to read them: the user's cache,
// or, when that cannot be written (a read-only home), a folder of the user's own in the
// system's temporary folder. Everyone may make names there, so that folder is used only when
// nobody else can reach it (see PrivateFolderAt).
// Each export gets a new file; an export that was handed over is made read-only, so that a
// program which opens it in place cannot save the user's work over it, and so that a file the
// user did save there (writable again) is never removed.
class WorkbookExportFolder {
  public:
    // The first of `candidates` that can be made and written is used; after them, when given,
    // "workbooks" in the private folder at `sharedFallback` (or beside it, when someone else
    // could reach that one).
    explicit WorkbookExportFolder(QStringList candidates, QString sharedFallback = {});

    // "<cache of the user>/workbooks", then "<temporary folder>/quorvane-<user id>/workbooks"
    static WorkbookExportFolder userDefault();
    // The folder in use: the first candidate until a file has been asked for.
    const QString& path() const { return path_; }

    // Creates the folder when needed; Failure when no candidate can be made and written.
    QString newFilePath();
    void markHandedOver(const QString& filePath);
    // Removes handed-over exports older than `ageSeconds`: a program that starts cold reads its
    // file late, so the newest ones stay.
    void removeExportsOlderThan(qint64 ageSeconds);

  private:
    bool useWritableFolder();

    QStringList candidates_;
    QString sharedFallback_;
    QString path_;
    int created_ = 0;
};
