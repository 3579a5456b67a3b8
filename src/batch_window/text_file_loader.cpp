#include "batch_window/text_file_loader.h"

#include "core/failure.h"
#include "core/text_decoding.h"
#include "core/text_lines.h"
#include "platform/message_boxes.h"
#include "shell/file_exists.h"
#include "widgets/report_list/report_list.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens the file only when it is a regular one, and never waits: opening a FIFO for reading
// blocks until some other program writes to it, and a device such as /dev/zero never ends.
void openRegularFile(QFile& file, const QString& path) {
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

}  // namespace

void LoadTextFileToList(ReportList& list, const QString& path, MessageBoxes& messages) {
    if (!FileExists(path)) {
        messages.show(QStringLiteral("File not found"));
        return;
    }
    QFile file;
    openRegularFile(file, path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Failure(file.errorString());
    }
    file.close();

    const QString text = DecodeTextFile(bytes);
    bytes = QByteArray();  // the bytes are not needed beside the text
    ForEachTextFileLine(text, [&](qsizetype offset, qsizetype length) {
        if (length > std::numeric_limits<quint32>::max()) {
            throw Failure(QStringLiteral("Line too long"));
        }
        list.appendSpan(text, TextSpan{offset, static_cast<quint32>(length)});
    });
}

QString CollapseDoubleBackslashes(const QString& path, QChar separator) {
    qsizetype from = 0;
    QString tidied;
    tidied.reserve(path.size());
    if (!path.isEmpty() && path.front() == separator) {
        while (from < path.size() && path[from] == separator) {
            ++from;
        }
        tidied.append(separator).append(separator);
    }
    for (qsizetype i = from; i < path.size(); ++i) {
        tidied.append(path[i]);
        if (path[i] == separator && i + 1 < path.size() && path[i + 1] == separator) {
            ++i;
        }
    }
    return tidied;
}

QString CollapseDoubleBackslashes(const QString& path) {
    return CollapseDoubleBackslashes(path, QDir::separator());
}
