#include "platform/file_replacement.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The file a path names after its symbolic links, even when that file does not exist yet.
QString ResolvedTarget(const QString& path) {
    QFileInfo target(path);
    for (int depth = 0; depth < 128 && target.isSymLink(); ++depth) {
        target.setFile(target.symLinkTarget());
    }
    return target.filePath();
}

// Short enough for any folder: the name is looked up relative to the folder, never as a path.
QByteArray NewTemporaryName() {
    return ".quorvane-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Copies every extended attribute (access control lists are kept as such) from `from` onto the
// open file `to`. A file system without them has none to keep.
bool CopyExtendedAttributes(const QByteArray& from, int to) {
    const ssize_t listSize = ::listxattr(from.constData(), nullptr, 0);
    if (listSize < 0) {
        return errno == ENOTSUP;
    }
    std::vector<char> names(static_cast<size_t>(listSize) + 1, '\0');
    const ssize_t listed = ::listxattr(from.constData(), names.data(), names.size() - 1);
    if (listed < 0) {
        return false;
    }
    for (ssize_t at = 0; at < listed;) {
        const char* name = names.data() + at;
        at += static_cast<ssize_t>(std::strlen(name)) + 1;
        const ssize_t valueSize = ::getxattr(from.constData(), name, nullptr, 0);
        if (valueSize < 0) {
            return false;
        }
        std::vector<char> value(static_cast<size_t>(valueSize) + 1);
        const ssize_t read = ::getxattr(from.constData(), name, value.data(), value.size());
        if (read < 0 || ::fsetxattr(to, name, value.data(), static_cast<size_t>(read), 0) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

FileReplacement::FileReplacement(const QString& path) : targetPath_(ResolvedTarget(path)) {
    const QFileInfo target(targetPath_);
    targetName_ = QFile::encodeName(target.fileName());
    folder_ =
        ::open(QFile::encodeName(target.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    folderError_ = errno;
}

FileReplacement::~FileReplacement() {
    cancel();
    if (folder_ >= 0) {
        ::close(folder_);
    }
}

bool FileReplacement::open() {
    if (folder_ < 0) {
        errno = folderError_;
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = NewTemporaryName();
        const int fd =
            ::openat(folder_, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            temporaryName_ = name;
            if (!file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
                ::close(fd);
                cancel();
                return false;
            }
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool FileReplacement::keepAttributesOfOldFile() {
    const QByteArray target = QFile::encodeName(targetPath_);
    struct stat old {};
    if (::stat(target.constData(), &old) != 0) {
        return errno == ENOENT;
    }
    struct stat made {};
    const int fd = file_.handle();
    if (::fstat(fd, &made) != 0) {
        return false;
    }
    // The owner before the mode: giving a file away clears its set-user-ID bits.
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0 && CopyExtendedAttributes(target, fd);
}

bool FileReplacement::commit() {
    if (temporaryName_.isEmpty()) {
        return false;
    }
    errno = 0;
    const bool flushed = file_.flush() && ::fsync(file_.handle()) == 0;
    int reason = errno;
    file_.close();
    if (flushed &&
        ::renameat(folder_, temporaryName_.constData(), folder_, targetName_.constData()) == 0) {
        temporaryName_.clear();
        return true;
    }
    if (flushed) {
        reason = errno;
    }
    cancel();
    errno = reason;
    return false;
}

void FileReplacement::cancel() {
    file_.close();
    if (!temporaryName_.isEmpty()) {
        ::unlinkat(folder_, temporaryName_.constData(), 0);
        temporaryName_.clear();
    }
}
