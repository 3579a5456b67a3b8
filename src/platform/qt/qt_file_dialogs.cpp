#include "platform/qt/qt_file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace {
void prepare(QFileDialog& dialog, const FileDialogSettings& settings) {
    dialog.setWindowTitle(settings.title);
    dialog.setNameFilters(settings.nameFilters);
    if (!settings.fileName.isEmpty()) {
        dialog.selectFile(settings.fileName);
    }
}

QStringList nativePaths(QStringList paths) {
    for (QString& path : paths) {
        path = QDir::toNativeSeparators(path);
    }
    return paths;
}
}  // namespace

QStringList QtFileDialogs::showOpen(const FileDialogSettings& settings) {
    QFileDialog dialog(QApplication::activeWindow());
    prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist still comes back, so that the loader can say
    // "File not found" as it does for every chosen file.
    dialog.setFileMode(settings.multipleSelection ? QFileDialog::ExistingFiles
                                                  : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return nativePaths(dialog.selectedFiles());
}

QString QtFileDialogs::showSave(const FileDialogSettings& settings) {
    QFileDialog dialog(QApplication::activeWindow());
    prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The save routine asks about replacing a file itself, and uses a name exactly as typed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return nativePaths(dialog.selectedFiles()).value(0);
}
