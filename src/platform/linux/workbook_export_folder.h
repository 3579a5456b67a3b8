#pragma once

#include <QString>

// The folder of the user's cache where workbooks wait for the spreadsheet program to read them.
// Each export gets a new file; an export that was handed over is made read-only, so that a
// program which opens it in place cannot save the user's work over it, and so that a file the
// user did save there (writable again) is never removed.
class WorkbookExportFolder {
  public:
    explicit WorkbookExportFolder(QString path);

    // "<cache of the user>/workbooks"
    static QString defaultPath();
    const QString& path() const { return path_; }

    // Creates the folder when needed; Failure when that is impossible.
    QString newFilePath();
    void markHandedOver(const QString& filePath);
    // Removes handed-over exports older than `ageSeconds`: a program that starts cold reads its
    // file late, so the newest ones stay.
    void removeExportsOlderThan(qint64 ageSeconds);

  private:
    QString path_;
    int created_ = 0;
};
