#include "support/xlsx_read_back.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

ReadBackWorkbook ReadXlsxBack(const QString& path) {
    ReadBackWorkbook book;
    QProcess reader;
    // Debian's own python3, whatever else is first on PATH: it is the one with openpyxl.
    const QString script = QStringLiteral(QUORVANE_TEST_SUPPORT_DIR "/read_xlsx.py");
    reader.start(QStringLiteral("/usr/bin/python3"), {script, path});
    if (!reader.waitForFinished(600000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        book.error = QString::fromUtf8(reader.readAllStandardError()) + reader.errorString();
        return book;
    }
    const QJsonObject root = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    for (const QJsonValue sheetValue : root.value(QStringLiteral("sheets")).toArray()) {
        const QJsonObject sheet = sheetValue.toObject();
        ReadBackSheet read;
        read.title = sheet.value(QStringLiteral("title")).toString();
        for (const QJsonValue cellValue : sheet.value(QStringLiteral("cells")).toArray()) {
            const QJsonObject cell = cellValue.toObject();
            const QPair<int, int> at{cell.value(QStringLiteral("row")).toInt(),
                                     cell.value(QStringLiteral("column")).toInt()};
            read.cells.insert(at, cell.value(QStringLiteral("value")).toString());
            read.types.insert(at, cell.value(QStringLiteral("type")).toString());
        }
        const QJsonObject widths = sheet.value(QStringLiteral("widths")).toObject();
        for (auto it = widths.begin(); it != widths.end(); ++it) {
            read.widths.insert(it.key().toInt(), it.value().toDouble());
        }
        book.sheets.push_back(read);
    }
    book.ok = true;
    return book;
}
