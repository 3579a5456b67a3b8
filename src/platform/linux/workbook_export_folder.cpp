#include "platform/linux/workbook_export_folder.h"

#include "core/failure.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kPrefix = QStringLiteral("results-");
const QString kSuffix = QStringLiteral(".xlsx");
}  // namespace

WorkbookExportFolder::WorkbookExportFolder(QString path) : path_(std::move(path)) {}

QString WorkbookExportFolder::defaultPath() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) {
        cache = QDir::tempPath() + QStringLiteral("/quorvane-cache");
    }
    return cache + QStringLiteral("/workbooks");
}

QString WorkbookExportFolder::newFilePath() {
    if (!QDir().mkpath(path_)) {
        throw Failure(
            QStringLiteral("Cannot create the folder \"%1\" for the workbook").arg(path_));
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
