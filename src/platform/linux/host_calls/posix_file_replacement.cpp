#include "platform/file_replacement.h"

#include "core/failure.h"
#include "core/fault_injection.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

constexpr char kTemporaryPrefix[] = ".quorvane-";

// Short enough for any folder: the name is looked up relative to the folder, never as a path.
QByteArray NewTemporaryName() {
    return kTemporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Only names NewTemporaryName can make: a file of the user's that merely starts alike is kept.
bool IsTemporaryName(const char* name) {
    const size_t prefix = sizeof kTemporaryPrefix - 1;
    if (std::strncmp(name, kTemporaryPrefix, prefix) != 0) {
        return false;
    }
    const size_t digits = std::strlen(name + prefix);
    return digits >= 1 && digits <= 13 &&
           std::strspn(name + prefix, "0123456789abcdefghijklmnopqrstuvwxyz") == digits;
}

// A save holds a lock on its new file for as long as it writes, and a killed one loses it. A
// leftover is removed only when it is a regular file of the user's that nobody holds locked and
// that has not changed for a quarter of an hour: the age covers the moment between a file's
// making and its locking, and a network folder whose locks other computers do not see, on which
// a save that is writing changes its file every few milliseconds.
constexpr time_t kLeftoverSeconds = 15 * 60;

void RemoveLeftoversIn(int folder) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;  // a folder that cannot be listed keeps what it has
    }
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(entries)) {
        struct stat facts {};
        if (!IsTemporaryName(entry->d_name) ||
            ::fstatat(folder, entry->d_name, &facts, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(facts.st_mode) || facts.st_uid != ::geteuid() ||
            now - facts.st_mtime < kLeftoverSeconds) {
            continue;
        }
        // Open for writing where possible: a network file system takes an exclusive lock only on
        // a file open for writing.
        const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        int fd = ::openat(folder, entry->d_name, O_RDWR | flags);
        if (fd < 0) {
            fd = ::openat(folder, entry->d_name, O_RDONLY | flags);
        }
        struct stat opened {};
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            opened.st_ino == facts.st_ino && opened.st_dev == facts.st_dev) {
            ::unlinkat(folder, entry->d_name, 0);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ::closedir(entries);
}

// Tests make a folder refuse unnamed files, as some file systems do, to reach the named way.
bool UnnamedFilesAllowed() {
    try {
        FaultInjection::hit("save.unnamed");
        return true;
    } catch (const Failure&) {
        return false;
    }
}

// An unnamed file is given a name through its entry in /proc, the one way open to a user
// without special rights; without /proc mounted it could never be named.
QByteArray ProcPathOf(int fd) {
    return "/proc/self/fd/" + QByteArray::number(fd);
}

int OpenUnnamedFile(int folder, mode_t mode) {
    if (!UnnamedFilesAllowed()) {
        errno = EOPNOTSUPP;
        return -1;
    }
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    struct stat entry {};
    if (fd >= 0 &&
        ::fstatat(AT_FDCWD, ProcPathOf(fd).constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        ::close(fd);
        errno = EOPNOTSUPP;
        return -1;
    }
    return fd;
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
    const QByteArray folder = QFile::encodeName(target.path());
    folder_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0 && errno == EACCES) {
        // A folder the user may write but not list still takes the new file.
        folder_ = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
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
    RemoveLeftoversIn(folder_);
    // The new content of a file that exists is for the user alone until the new file has the old
    // one's owner and mode; a file that does not exist yet is made like any other new file (the
    // umask, the folder's default access control list).
    struct stat old {};
    const bool oldFileMissing =
        ::stat(QFile::encodeName(targetPath_).constData(), &old) != 0 && errno == ENOENT;
    const mode_t mode = oldFileMissing ? 0666 : 0600;

    int fd = OpenUnnamedFile(folder_, mode);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = NewTemporaryName();
            fd = ::openat(folder_, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (fd >= 0) {
                temporaryName_ = name;
                break;
            }
            if (errno != EEXIST) {
                break;
            }
        }
    }
    if (fd < 0) {
        return false;
    }
    ::flock(fd, LOCK_EX | LOCK_NB);  // held until the file is closed: see RemoveLeftoversIn
    if (!file_.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        cancel();
        return false;
    }
    return true;
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
    // The owner first: giving a file away clears its set-user-ID bits. The access control list
    // before the mode, so that the group never has more than the list gives it, and while the
    // file is still the user's to write (attributes of a read-only file cannot be set).
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    return CopyExtendedAttributes(target, fd) && ::fchmod(fd, old.st_mode & 07777) == 0;
}

bool FileReplacement::nameNewFile() {
    const QByteArray self = ProcPathOf(file_.handle());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = NewTemporaryName();
        if (::linkat(AT_FDCWD, self.constData(), folder_, name.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            temporaryName_ = name;
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool FileReplacement::commit() {
    if (!file_.isOpen()) {
        return false;
    }
    // Renamed while still open and locked, so that no other save takes the name for a leftover.
    errno = 0;
    const bool replaced =
        file_.flush() && ::fsync(file_.handle()) == 0 &&
        (!temporaryName_.isEmpty() || nameNewFile()) &&
        ::renameat(folder_, temporaryName_.constData(), folder_, targetName_.constData()) == 0;
    const int reason = errno;
    if (replaced) {
        temporaryName_.clear();
        file_.close();
        return true;
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
