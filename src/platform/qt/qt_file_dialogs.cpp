#include "platform/qt/qt_file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QStringList QtFileDialogs::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            continue;
        }
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "All Files (*.*)" must match names without a dot too, as it does on Windows.
        if (patterns.trimmed() == QLatin1String("*.*")) {
            patterns = QStringLiteral("*");
        }
        const QString name = parts[i];
        const qsizetype bracket = name.indexOf(QLatin1Char('('));
        const QString label = (bracket > 0 ? name.left(bracket) : name).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(label, patterns);
    }
    return filters;
}

QString QtFileDialogs::joinSelection(const QStringList& paths) {
    if (paths.isEmpty()) {
        return QString();
    }
    if (paths.size() == 1) {
        return QDir::toNativeSeparators(paths.first());
    }
    QStringList parts{QDir::toNativeSeparators(QFileInfo(paths.first()).absolutePath())};
    for (const QString& path : paths) {
        parts << QFileInfo(path).fileName();
    }
    return parts.join(QChar(u'\0'));
}

namespace {
void prepare(QFileDialog& dialog, const FileDialogSettings& settings) {
    dialog.setWindowTitle(settings.title);
    dialog.setNameFilters(QtFileDialogs::nameFilters(settings.filter));
    if (!settings.fileName.isEmpty()) {
        dialog.selectFile(settings.fileName);
    }
}
}  // namespace

QString QtFileDialogs::showOpen(const FileDialogSettings& settings) {
    QFileDialog dialog(QApplication::activeWindow());
    prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist still comes back, so that the loader can say
    // "File not found" as it does for every chosen file.
    dialog.setFileMode((settings.flags & FileDialogFlags::AllowMultiSelect) != 0
                           ? QFileDialog::ExistingFiles
                           : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return joinSelection(dialog.selectedFiles());
}

QString QtFileDialogs::showSave(const FileDialogSettings& settings) {
    QFileDialog dialog(QApplication::activeWindow());
    prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks about replacing a file itself, and uses a name exactly as typed.
    if ((settings.flags & FileDialogFlags::OverwritePrompt) == 0) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QDir::toNativeSeparators(files.first());
}
