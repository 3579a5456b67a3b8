#include "platform/linux/workbook_export_folder.h"

#include "core/failure.h"

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

WorkbookExportFolder::WorkbookExportFolder(QStringList candidates)
    : candidates_(std::move(candidates)), path_(candidates_.value(0)) {}

QStringList WorkbookExportFolder::defaultCandidates() {
    QStringList candidates;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty()) {
        candidates << cache + QStringLiteral("/workbooks");
    }
    // Per user, so that nobody else's folder of that name is written into.
    candidates << QDir::tempPath() + QStringLiteral("/quorvane-%1/workbooks").arg(::getuid());
    return candidates;
}

bool WorkbookExportFolder::useWritableFolder() {
    for (const QString& candidate : std::as_const(candidates_)) {
        const QFileInfo folder(candidate);
        if (QDir().mkpath(candidate) && folder.isDir() && folder.isWritable() &&
            folder.ownerId() == ::getuid()) {
            path_ = candidate;
            return true;
        }
    }
    return false;
}

QString WorkbookExportFolder::newFilePath() {
    if (!useWritableFolder()) {
        throw Failure(QStringLiteral("Cannot create a folder for the workbook (tried %1)")
                          .arg(candidates_.join(QStringLiteral(", "))));
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
