#include "batch_window/text_file_loader.h"

#include "core/failure.h"
#include "format/text_decoding.h"
#include "format/text_lines.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "shell/file_exists.h"
#include "shell/handler_guard.h"
#include "widgets/report_list/report_list.h"

#include <QDir>
#include <QFile>

#include <limits>

namespace {
// A file that reports no size (the system's own files under /proc and /sys) is read up to this
// much; one that gives more never ends, or is no text file to load into a list.
constexpr qint64 kUnsizedFileBytes = qint64{64} << 20;

// The file's bytes up to the size it reports when opened: a file that grows while it is read
// stops where it stood, and one that reports no size is read to a bound.
QByteArray ReadToReportedSize(QFile& file, const QString& path) {
    const qint64 reported = file.size();
    QByteArray bytes;
    if (reported > 0) {
        bytes = file.read(reported);
    } else {
        constexpr qint64 kChunk = qint64{1} << 20;
        while (bytes.size() <= kUnsizedFileBytes) {
            const QByteArray chunk = file.read(kChunk);
            if (chunk.isEmpty()) {
                break;
            }
            bytes += chunk;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        throw Failure(file.errorString());
    }
    if (bytes.size() > kUnsizedFileBytes && reported <= 0) {
        throw Failure(QStringLiteral("\"%1\" reports no size but gives more than %2 MB (it is a "
                                     "system file that may not end), so it was not read")
                          .arg(path)
                          .arg(kUnsizedFileBytes >> 20));
    }
    return bytes;
}

QString ReadExistingTextFile(const QByteArray& nativePath) {
    QFile file;
    OpenRegularFileForReading(file, nativePath);
    return DecodeTextFile(ReadToReportedSize(file, QFile::decodeName(nativePath)));
}

void AppendLines(ReportList& list, const QString& text) {
    ForEachTextFileLine(text, [&](qsizetype offset, qsizetype length) {
        if (length > std::numeric_limits<quint32>::max()) {
            throw Failure(QStringLiteral("Line too long"));
        }
        list.appendSpan(text, TextSpan{offset, static_cast<quint32>(length)});
    });
}
}  // namespace

std::optional<QString> ReadTextFile(const QString& path, MessageBoxes& messages) {
    if (!FileExists(path)) {
        messages.show(QStringLiteral("File not found"));
        return std::nullopt;
    }
    return ReadExistingTextFile(QFile::encodeName(path));
}

void LoadTextFileToList(ReportList& list, const QString& path, MessageBoxes& messages) {
    // The bytes are gone once this holds the text, so a large file is never held twice.
    const std::optional<QString> text = ReadTextFile(path, messages);
    if (text) {
        AppendLines(list, *text);
    }
}

std::optional<QString> LoadNamedFileToList(ReportList& list, const QByteArray& nativePath) {
    try {
        if (LookUpPath(nativePath).kind == PathKind::Missing) {
            return QStringLiteral("File not found");
        }
        AppendLines(list, ReadExistingTextFile(nativePath));
        return std::nullopt;
    } catch (...) {
        return HandlerErrorReport::describe(std::current_exception());
    }
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
