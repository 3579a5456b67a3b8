#include "batch_window/text_file_loader.h"

#include "core/failure.h"
#include "format/text_decoding.h"
#include "format/text_lines.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "shell/file_exists.h"
#include "widgets/report_list/report_list.h"

#include <QDir>
#include <QFile>

#include <limits>

std::optional<QString> ReadTextFile(const QString& path, MessageBoxes& messages) {
    if (!FileExists(path)) {
        messages.show(QStringLiteral("File not found"));
        return std::nullopt;
    }
    QFile file;
    OpenRegularFileForReading(file, path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Failure(file.errorString());
    }
    return DecodeTextFile(bytes);
}

void LoadTextFileToList(ReportList& list, const QString& path, MessageBoxes& messages) {
    // The bytes are gone once this holds the text, so a large file is never held twice.
    const std::optional<QString> text = ReadTextFile(path, messages);
    if (!text) {
        return;
    }
    ForEachTextFileLine(*text, [&](qsizetype offset, qsizetype length) {
        if (length > std::numeric_limits<quint32>::max()) {
            throw Failure(QStringLiteral("Line too long"));
        }
        list.appendSpan(*text, TextSpan{offset, static_cast<quint32>(length)});
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
