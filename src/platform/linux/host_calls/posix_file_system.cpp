#include "platform/file_system.h"

#include "core/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

PathFacts LookUpPath(const QString& path) {
    return LookUpPath(QFile::encodeName(path));
}

PathFacts LookUpPath(const QByteArray& nativePath) {
    struct stat info {};
    if (::stat(nativePath.constData(), &info) != 0) {
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        return {PathKind::NotAFile, static_cast<quint64>(info.st_nlink)};
    }
    return {PathKind::RegularFile, static_cast<quint64>(info.st_nlink)};
}

std::optional<quint64> FreeBytesOnDiskOf(const QString& path) {
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(path).constData(), &disk) != 0) {
        return std::nullopt;
    }
    return static_cast<quint64>(disk.f_bavail) * disk.f_frsize;
}

bool FlushToDisk(QFileDevice& file) {
    return ::fsync(file.handle()) == 0;
}

void OpenRegularFileForReading(QFile& file, const QString& path) {
    OpenRegularFileForReading(file, QFile::encodeName(path));
}

void OpenRegularFileForReading(QFile& file, const QByteArray& nativePath) {
    const int fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw Failure(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        const QString path = QFile::decodeName(nativePath);
        if (S_ISDIR(info.st_mode)) {
            throw Failure(QStringLiteral("\"%1\" is a folder, not a file").arg(path));
        }
        throw Failure(
            QStringLiteral("\"%1\" is not a regular file (it is a pipe, a device or a socket), so "
                           "it was not read")
                .arg(path));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw Failure(file.errorString());
    }
}

std::optional<QString> PrivateFolderAt(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    ::mkdir(name.constData(), 0700);  // fails harmlessly when the name is taken
    struct stat info {};
    if (::lstat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700) {
        return path;
    }
    QByteArray pattern = name + "-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return std::nullopt;
    }
    return QFile::decodeName(pattern);
}

std::vector<int> RemovedFilesHeldOpenIn(const QString& folder) {
    const QString prefix = QFileInfo(folder).canonicalFilePath() + QLatin1Char('/');
    const QString removed = QStringLiteral(" (deleted)");
    std::vector<int> held;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    // A descriptor's link leads to its file even once the file is removed, so these count as
    // regular files, not as broken links: every kind of entry is listed.
    const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QString& name : descriptors.entryList(all)) {
        const QString target = QFile::symLinkTarget(descriptors.filePath(name));
        bool number = false;
        const int fd = name.toInt(&number);
        if (number && target.startsWith(prefix) && target.endsWith(removed)) {
            held.push_back(fd);
        }
    }
    return held;
}

void CloseRemovedFilesHeldOpenIn(const QString& folder, const std::vector<int>& keep) {
    for (const int fd : RemovedFilesHeldOpenIn(folder)) {
        if (std::find(keep.begin(), keep.end(), fd) == keep.end()) {
            ::close(fd);
        }
    }
}
