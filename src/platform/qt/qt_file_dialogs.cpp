#include "platform/qt/qt_file_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// The open dialog answers with every name the user chose or typed, existing or not: the loader
// says "File not found" once for each missing one and goes on with the next. Qt's own dialog
// would refuse a typed name that does not exist with a message of its own, and drop it from
// a list of typed names whose other names exist.
class OpenDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    QStringList chosen() const { return typed_.isEmpty() ? selectedFiles() : typed_; }

    void accept() override {
        const QStringList names = typedNames();
        // Nothing typed, or a folder to go into: the dialog's own handling.
        if (names.isEmpty() || (names.size() == 1 && QFileInfo(names.first()).isDir())) {
            QFileDialog::accept();
            return;
        }
        typed_ = names;
        QDialog::accept();
    }

  private:
    // The names in the file name box, as the dialog reads them: one name, or several, each
    // in double quotes. A name without a folder is one in the folder shown.
    QStringList typedNames() const {
        const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString text = edit != nullptr ? edit->text() : QString();
        if (text.isEmpty()) {
            return {};
        }
        QStringList names;
        if (!text.contains(QLatin1Char('"'))) {
            names << text;
        } else {
            const QStringList tokens = text.split(QLatin1Char('"'));
            for (qsizetype i = 1; i < tokens.size(); i += 2) {  // between the quotes
                names << tokens[i];
            }
        }
        for (QString& name : names) {
            name = directory().absoluteFilePath(name);
        }
        return names;
    }

    QStringList typed_;
};

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
    OpenDialog dialog(QApplication::activeWindow());
    // The desktop's own dialog would not return names that do not exist.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    prepare(dialog, settings);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(settings.multipleSelection ? QFileDialog::ExistingFiles
                                                  : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return nativePaths(dialog.chosen());
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
