#include "core/regular_file.h"

#include "core/failure.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void OpenRegularFileForReading(QFile& file, const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        throw Failure(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
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
