#include "platform/linux/workbook_export_folder.h"

#include "core/failure.h"
#include "platform/file_system.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {
const QString kPrefix = QStringLiteral("results-");
const QString kSuffix = QStringLiteral(".xlsx");
}  // namespace

namespace {
const QString kWorkbooks = QStringLiteral("/workbooks");

bool isWritableFolderOfOwn(const QString& path) {
    const QFileInfo folder(path);
    return QDir().mkpath(path) && folder.isDir() && folder.isWritable() &&
           folder.ownerId() == ::getuid();
}
}  // namespace

WorkbookExportFolder::WorkbookExportFolder(QStringList candidates, QString sharedFallback)
    : candidates_(std::move(candidates)),
      sharedFallback_(std::move(sharedFallback)),
      path_(candidates_.isEmpty() ? sharedFallback_ + kWorkbooks : candidates_.value(0)) {}

WorkbookExportFolder WorkbookExportFolder::userDefault() {
    QStringList candidates;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty()) {
        candidates << cache + kWorkbooks;
    }
    // Per user, so that users do not meet each other's folder of that name.
    return WorkbookExportFolder(candidates,
                                QDir::tempPath() + QStringLiteral("/quorvane-%1").arg(::getuid()));
}

bool WorkbookExportFolder::useWritableFolder() {
    for (const QString& candidate : std::as_const(candidates_)) {
        if (isWritableFolderOfOwn(candidate)) {
            path_ = candidate;
            return true;
        }
    }
    if (sharedFallback_.isEmpty()) {
        return false;
    }
    // Found once, then kept: a fresh folder made beside an unsafe one is this program's own.
    const std::optional<QString> privateFolder = PrivateFolderAt(sharedFallback_);
    if (!privateFolder || !isWritableFolderOfOwn(*privateFolder + kWorkbooks)) {
        return false;
    }
    sharedFallback_ = *privateFolder;
    path_ = *privateFolder + kWorkbooks;
    return true;
}

QString WorkbookExportFolder::newFilePath() {
    if (!useWritableFolder()) {
        QStringList tried = candidates_;
        if (!sharedFallback_.isEmpty()) {
            tried << QStringLiteral("a private folder at %1").arg(sharedFallback_);
        }
        throw Failure(QStringLiteral("Cannot create a folder for the workbook (tried %1)")
                          .arg(tried.join(QStringLiteral(", "))));
    }
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString base =
        kPrefix + stamp + QStringLiteral("-") + QString::number(QCoreApplication::applicationPid());
    for (;;) {
        ++created_;
        const QString candidate = path_ + QLatin1Char('/') + base + QStringLiteral("-") +
                                  QString::number(created_) + kSuffix;
        if (!QFileInfo::exists(candidate)) {
            return candidate;
        }
    }
}

void WorkbookExportFolder::markHandedOver(const QString& filePath) {
    QFile::setPermissions(filePath, QFile::ReadOwner | QFile::ReadUser);
}

void WorkbookExportFolder::removeExportsOlderThan(qint64 ageSeconds) {
    const QDir folder(path_);
    const QDateTime limit = QDateTime::currentDateTime().addSecs(-ageSeconds);
    const QFileInfoList files =
        folder.entryInfoList({kPrefix + QStringLiteral("*") + kSuffix}, QDir::Files);
    for (const QFileInfo& file : files) {
        if (!(file.permissions() & QFile::WriteOwner) && file.lastModified() < limit) {
            QFile::remove(file.absoluteFilePath());
        }
    }
}
