#include "platform/qt/qt_message_boxes.h"

#include "platform/event_pump.h"
#include "widgets/line_box/line_box.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

QString QtMessageBoxes::displayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MessageAnswer QtMessageBoxes::show(const QString& text, MessageButtons buttons, MessageIcon icon,
                                   const QString& title) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    if (pump_.programEnding()) {
        return yesNo ? MessageAnswer::No : MessageAnswer::Ok;  // nothing is asked any more
    }
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                    titleOrApplicationTitle(title), displayText(text),
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int answer = box.exec();
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtMessageBoxes::askLine(const QString& prompt, const QString& title,
                                const QString& defaultAnswer) {
    if (pump_.programEnding()) {
        return QString();
    }
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(titleOrApplicationTitle(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setTextFormat(Qt::PlainText);
    auto* line = new LineBox(&dialog);
    line->setText(defaultAnswer);
    line->setAccessibleName(prompt.trimmed());
    label->setBuddy(line);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(line);
    layout->addWidget(buttons);
    dialog.resize(420, dialog.sizeHint().height());
    line->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return line->text();
}
